// The headless commands, run in process as the program runs them.
#include "app/raster/pictureio.h"
#include "clirun.h"
#include "package/cabwriter.h"
#include "package/cesetup.h"
#include "support/rasters.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

using namespace varno;

using Commands = CommandTest;

namespace {

QJsonObject picture(int width, int height, const char *encoding)
{
    return {{"width", width}, {"height", height}, {"encoding", encoding}};
}

QJsonObject info(const QString &theme)
{
    const Outcome i = run({"info", theme, "--json"});
    EXPECT_EQ(i.code, Exit::Ok) << i.err.toStdString();
    return QJsonDocument::fromJson(i.out.toUtf8()).object();
}

}  // namespace

TEST_F(Commands, BuildThenInfoReportsWhatWasAskedFor)
{
    const Outcome b =
        run({"build", "-o", "Blue Wave.tsk", "--profile", "sq240", "--wm5", "--name", "Blue Wave",
             "--color", "CommandBar=#0A0B0C", "--color", "menutext=#FFFFFF", "--base-hue", "300",
             "--compression", "low", "--emit-inf", "vl.inf"});
    ASSERT_EQ(b.code, Exit::Ok) << b.err.toStdString();
    const QJsonObject o = info("Blue Wave.tsk");
    EXPECT_EQ(o["name"], "Blue Wave");
    EXPECT_EQ(o["profileCaption"], "New WM5 Theme - Square 240");
    EXPECT_EQ(o["wm5"], true);
    EXPECT_EQ(o["baseHueIndex"], 300);
    EXPECT_EQ(o["colors"]["CommandBar"], "#0A0B0C");
    EXPECT_EQ(o["colors"]["MenuText"], "#FFFFFF");
    EXPECT_EQ(o["today"], picture(240, 214, "PNG"));
    const QByteArray script = varno::test::readFile("vl.inf");
    EXPECT_TRUE(script.contains("HKLM,%reg_path%, 7,0x00000001,A,B,C,00\r\n"));
    EXPECT_TRUE(script.endsWith("BaseHue,0x00010001,300\r\n\r\n[CEStrings]\r\n"
                                "AppName=Blue Wave\r\nInstallDir=%CE2%\r\n"));
}

// A 640 x 480 picture fitted to the QVGA width and put at the bottom lands
// 320 x 240 from row 53 of the 293-row canvas, on the chosen background, and
// the menu follows it. The colours come from another theme, the profile not.
TEST_F(Commands, BuildFitsThePictureAndTakesColoursFromAnotherTheme)
{
    build("a.tsk", "vga", {"--color", "NavBarRight=#123456"});
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save("wide.png"));
    build("fit.tsk", "qvga",
          {"--image", "wide.png", "--background", "#0000FF", "--fit", "x", "--justify", "bottom",
           "--colors-from", "a.tsk"});
    const QJsonObject o = info("fit.tsk");
    EXPECT_EQ(o["colors"]["NavBarRight"], "#123456");
    EXPECT_EQ(o["profile"], "QVGA");
    EXPECT_EQ(o["today"]["encoding"], "JPEG");
    ASSERT_EQ(run({"extract", "fit.tsk", "-d", "parts"}).code, Exit::Ok);
    const auto at = [](const char *file, int row) { return QImage(file).pixelColor(160, row); };
    EXPECT_GT(at("parts/tdywater.001", 50).blue(), 200);
    EXPECT_GT(at("parts/tdywater.001", 56).green(), 150);
    EXPECT_GT(at("parts/tdywater.001", 289).green(), 150);
    EXPECT_GT(at("parts/0stwater.002", 56).green(), 150);
}

TEST_F(Commands, ListExtractAndCabwiz)
{
    build("t.tsk", "std", {"--emit-inf", "vl.inf"});
    const Outcome l = run({"list", "t.tsk"});
    EXPECT_EQ(l.code, Exit::Ok);
    EXPECT_EQ(l.out.count('\n'), 3);
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

// Landscape swaps the screen; a theme's colours show where the preview
// puts them.
TEST_F(Commands, RenderWritesWhatThePreviewShows)
{
    ASSERT_EQ(
        run({"render", "--profile", "vga", "--landscape", "--view", "NAVIGATION", "-o", "p.png"})
            .code,
        Exit::Ok);
    EXPECT_EQ(QImage("p.png").size(), QSize(320, 240));
    build("t.tsk", "qvga", {"--color", "CommandBar=#112233"});
    ASSERT_EQ(run({"render", "t.tsk", "-o", "t.png"}).code, Exit::Ok);
    EXPECT_EQ(QImage("t.png").pixelColor(230, 319), QColor(0x11, 0x22, 0x33));
}

// The file's name is the theme's, either way round; each command explains
// itself.
TEST_F(Commands, NameAndFileGiveEachOtherAndHelpIsPerCommand)
{
    const Outcome up = run({"build", "-o", "Up.TSK", "--profile", "std"});
    EXPECT_TRUE(up.out.endsWith("/Up.tsk\n")) << up.out.toStdString();
    EXPECT_TRUE(QFile::exists("Up.tsk"));
    ASSERT_EQ(run({"build", "--name", "Sky", "--profile", "std"}).code, Exit::Ok);
    EXPECT_EQ(info("Sky.tsk")["name"], "Sky");
    const Outcome help = run({"build", "--help"});
    EXPECT_EQ(help.code, Exit::Ok);
    EXPECT_TRUE(help.out.startsWith("Usage: varno build (-o NAME.tsk | --name NAME)"));
}

// A theme made elsewhere: its pictures as stored, not as Varno would save
// them, and no base hue where it has none.
TEST_F(Commands, InfoReportsThePicturesAsStored)
{
    CeSetup setup;
    setup.appName = "Other";
    setup.provider = "Windows";
    const QByteArray png = encodePng(varno::test::filled(300, 200, rgb(255, 0, 0)));
    varno::writeCabinet(
        work.filePath("other.tsk"),
        {{"000000vl.000", setup.build()}, {"tdywater.001", png}, {"0stwater.002", png}}, false);
    const QJsonObject o = info("other.tsk");
    EXPECT_EQ(o["today"], picture(300, 200, "PNG"));
    EXPECT_TRUE(o["baseHueIndex"].isNull());
    EXPECT_FALSE(run({"info", "other.tsk"}).out.contains("Base hue"));
}

// One theme to one picture, or many to a folder with a bad one said and
// the rest still written.
TEST_F(Commands, ThumbnailsOfOneOrManyThemes)
{
    build("v.tsk", "vga");
    build("q.tsk", "qvga", {"--compression", "low"});
    ASSERT_EQ(run({"thumbnail", "-s", "64", "v.tsk", "v.png"}).code, Exit::Ok);
    EXPECT_EQ(QImage("v.png").size(), QSize(64, 58));
    varno::test::writeFile("bad.tsk", "MSCF");
    const Outcome many = run({"thumbnail", "-d", "out", "v.tsk", "bad.tsk", "q.tsk"});
    EXPECT_EQ(many.code, Exit::BadInput);
    EXPECT_EQ(many.err, "varno: bad.tsk: Invalid data.\n");
    EXPECT_EQ(QImage("out/q.png").size(), QSize(128, 117));
    EXPECT_TRUE(QFile::exists("out/v.png"));
}
