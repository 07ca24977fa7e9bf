// The headless commands, run in process as the program runs them.
#include "cli/commands.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::Sandbox;

namespace {

struct Outcome {
    int code;
    QString out, err;
};

Outcome run(const QStringList &args)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = runCommand(args, out, err);
    return r;
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override { QDir::setCurrent(work.path()); }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }
    Sandbox box;
    QTemporaryDir work;
};

}  // namespace

TEST_F(Commands, BuildThenInfoReportsWhatWasAskedFor)
{
    const Outcome b =
        run({"build", "-o", "Blue Wave.tsk", "--profile", "sq240", "--wm5", "--name", "Blue Wave",
             "--color", "CommandBar=#0A0B0C", "--color", "menutext=#FFFFFF", "--base-hue", "300",
             "--compression", "low", "--emit-inf", "vl.inf"});
    ASSERT_EQ(b.code, Exit::Ok) << b.err.toStdString();
    const Outcome i = run({"info", "Blue Wave.tsk", "--json"});
    ASSERT_EQ(i.code, Exit::Ok) << i.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(i.out.toUtf8()).object();
    EXPECT_EQ(o["name"].toString(), QStringLiteral("Blue Wave"));
    EXPECT_EQ(o["profile"].toString(), QStringLiteral("SQ240"));
    EXPECT_EQ(o["profileCaption"].toString(), QStringLiteral("New WM5 Theme - Square 240"));
    EXPECT_TRUE(o["wm5"].toBool());
    EXPECT_EQ(o["baseHueIndex"].toInt(), 300);
    EXPECT_EQ(o["colors"]["CommandBar"].toString(), QStringLiteral("#0A0B0C"));
    EXPECT_EQ(o["colors"]["MenuText"].toString(), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(o["today"]["width"].toInt(), 240);
    EXPECT_EQ(o["today"]["height"].toInt(), 214);
    EXPECT_EQ(o["today"]["encoding"].toString(), QStringLiteral("PNG"));
    EXPECT_EQ(o["menu"]["width"].toInt(), 239);
    EXPECT_EQ(o["members"].toArray().size(), 3);

    QFile inf("vl.inf");
    ASSERT_TRUE(inf.open(QIODevice::ReadOnly));
    const QByteArray script = inf.readAll();
    EXPECT_TRUE(script.contains("HKLM,%reg_path%, 7,0x00000001,A,B,C,00\r\n"));
    EXPECT_TRUE(script.endsWith("BaseHue,0x00010001,300\r\n\r\n[CEStrings]\r\n"
                                "AppName=Blue Wave\r\nInstallDir=%CE2%\r\n"));
}

TEST_F(Commands, ColoursFromAnotherThemeAndAPicture)
{
    ASSERT_EQ(run({"build", "-o", "a.tsk", "--profile", "qvga", "--name", "A", "--color",
                   "NavBarRight=#123456"})
                  .code,
              Exit::Ok);
    QImage picture(320, 294, QImage::Format_RGB32);
    picture.fill(qRgb(0, 200, 0));
    ASSERT_TRUE(picture.save("pic.png"));
    const Outcome b = run({"build", "-o", "b.tsk", "--profile", "vga", "--name", "B",
                           "--colors-from", "a.tsk", "--image", "pic.png"});
    ASSERT_EQ(b.code, Exit::Ok) << b.err.toStdString();
    const Outcome i = run({"info", "b.tsk", "--json"});
    const QJsonObject o = QJsonDocument::fromJson(i.out.toUtf8()).object();
    EXPECT_EQ(o["colors"]["NavBarRight"].toString(), QStringLiteral("#123456"));
    EXPECT_EQ(o["profile"].toString(), QStringLiteral("VGA"));
    EXPECT_EQ(o["today"]["encoding"].toString(), QStringLiteral("JPEG"));
}

TEST_F(Commands, ListExtractAndCabwiz)
{
    ASSERT_EQ(
        run({"build", "-o", "t.tsk", "--profile", "std", "--name", "T", "--emit-inf", "vl.inf"})
            .code,
        Exit::Ok);
    const Outcome l = run({"list", "t.tsk"});
    EXPECT_EQ(l.code, Exit::Ok);
    EXPECT_EQ(l.out.count('\n'), 3);
    EXPECT_TRUE(l.out.contains("tdywater.001"));
    EXPECT_TRUE(
        run({"list", "t.tsk", "--xml"}).out.startsWith("<?xml version=\"1.0\"?>\n<CABFILE"));

    const Outcome x = run({"extract", "t.tsk", "-d", "parts"});
    EXPECT_EQ(x.code, Exit::Ok) << x.err.toStdString();
    EXPECT_EQ(QDir("parts").entryList(QDir::Files),
              (QStringList{"000000vl.000", "0stwater.002", "tdywater.001"}));

    // The wizard by hand: the script and the pictures under their own names.
    QFile::copy("parts/tdywater.001", "tdywater.gif");
    QFile::copy("parts/0stwater.002", "stwater.gif");
    const Outcome c = run({"cabwiz", "vl.inf", "/err", "err.txt", "/cpu", "ipaq"});
    EXPECT_EQ(c.code, Exit::Ok) << c.err.toStdString();
    EXPECT_TRUE(QFile::exists("vl.ipaq.CAB"));
    QFile::remove("stwater.gif");
    const Outcome bad = run({"cabwiz", "vl.inf", "/cpu", "ipaq"});
    EXPECT_EQ(bad.code, Exit::BadInput);
    EXPECT_TRUE(bad.err.contains("cannot read stwater.gif"));
}

TEST_F(Commands, BadInputAndUsageErrors)
{
    QFile junk("junk.tsk");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a cabinet");
    junk.close();
    const struct {
        QStringList args;
        int code;
        const char *message;
    } cases[] = {
        {{"info", "missing.tsk"}, Exit::BadInput, "The system cannot find the file specified."},
        {{"info", "junk.tsk"}, Exit::BadInput, "varno: "},
        {{"info"}, Exit::Usage, "give one theme file"},
        {{"build", "-o", "x.tsk", "--profile", "xga", "--name", "X"},
         Exit::Usage,
         "--profile is one of std, qvga, vga, sq240"},
        {{"build", "-o", "x.tsk", "--profile", "std", "--wm5", "--name", "X"},
         Exit::Usage,
         "the standard profile has no WM5 variant"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--color", "Nope=#000000"},
         Exit::Usage,
         "--color Nope=#000000"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--image", "junk.tsk"},
         Exit::BadInput,
         "Invalid picture"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--fit", "x"},
         Exit::Usage,
         "need --image"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--image", "p.png",
          "--justify", "top"},
         Exit::Usage,
         "--justify"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--colors-from", "junk.tsk"},
         Exit::BadInput,
         "varno: junk.tsk: Invalid data."},
        {{"build", "-o", "x.txt", "--profile", "qvga", "--name", "X"}, Exit::Usage, ".tsk"},
        {{"build", "--frobnicate", "1"}, Exit::Usage, "unknown option"},
        {{"nonsense"}, Exit::Usage, "unknown command"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists("x.tsk"));
}

TEST_F(Commands, BuildFitsThePictureAsTheFittingDialogWould)
{
    // A 640 x 480 picture fitted to the QVGA width lands 320 x 240 at row 26
    // of the 293-row canvas, on the chosen background.
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save("wide.png"));
    const struct {
        QStringList extra;
        int firstPictureRow;  // rows above are background
    } cases[] = {{{"--fit", "x"}, 26}, {{"--fit", "x", "--justify", "bottom"}, 53}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.extra.join(' ').toStdString());
        const Outcome b = run(QStringList{"build", "-o", "fit.tsk", "--profile", "qvga", "--name",
                                          "Fit", "--image", "wide.png", "--background", "#0000FF",
                                          "--compression", "low"} +
                              c.extra);
        ASSERT_EQ(b.code, Exit::Ok) << b.err.toStdString();
        QDir("parts").removeRecursively();
        ASSERT_EQ(run({"extract", "fit.tsk", "-d", "parts"}).code, Exit::Ok);
        const QImage today("parts/tdywater.001");
        ASSERT_FALSE(today.isNull());
        const auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                       std::abs(a.blue() - b.blue()) <
                   60;
        };
        if (c.firstPictureRow > 2) {
            EXPECT_TRUE(near(today.pixelColor(160, c.firstPictureRow - 3), QColor(0, 0, 255)));
        }
        EXPECT_TRUE(near(today.pixelColor(160, c.firstPictureRow + 3), QColor(0, 200, 0)));
        EXPECT_TRUE(near(today.pixelColor(160, c.firstPictureRow + 236), QColor(0, 200, 0)));
        if (c.firstPictureRow + 243 < today.height()) {
            EXPECT_TRUE(near(today.pixelColor(160, c.firstPictureRow + 243), QColor(0, 0, 255)));
        }
        // The menu follows the main picture.
        const QImage menu("parts/0stwater.002");
        EXPECT_TRUE(near(menu.pixelColor(160, c.firstPictureRow + 3), QColor(0, 200, 0)));
    }
}

TEST_F(Commands, RenderWritesWhatThePreviewShows)
{
    const struct {
        QStringList args;
        QSize size;
    } cases[] = {
        {{"render", "--profile", "qvga", "-o", "p.png"}, {240, 320}},
        {{"render", "--profile", "vga", "--landscape", "--view", "NAVIGATION", "-o", "p.png"},
         {320, 240}},
        {{"render", "--profile", "std", "--auto-colors", "--settings", "today=none", "-o", "p.png"},
         {240, 320}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove("p.png");
        const Outcome r = run(c.args);
        ASSERT_EQ(r.code, Exit::Ok) << r.err.toStdString();
        EXPECT_EQ(QImage("p.png").size(), c.size);
    }
    ASSERT_EQ(run({"build", "-o", "t.tsk", "--profile", "qvga", "--name", "T", "--color",
                   "CommandBar=#112233"})
                  .code,
              Exit::Ok);
    ASSERT_EQ(run({"render", "t.tsk", "-o", "t.png"}).code, Exit::Ok);
    EXPECT_EQ(QImage("t.png").pixelColor(230, 319), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(run({"render", "t.tsk", "--profile", "qvga", "-o", "x.png"}).code, Exit::Usage);
    EXPECT_EQ(run({"render", "--profile", "qvga", "--view", "SIDEWAYS", "-o", "x.png"}).code,
              Exit::Usage);
}
