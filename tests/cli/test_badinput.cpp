// What the commands print for damaged and hostile input or a wrong call: one
// line naming the file or the mistake, nothing raw from a member name, and
// XML that parses.
#include "clirun.h"
#include "package/cabwriter.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <sys/stat.h>

using namespace varno;
using varno::test::writeFile;

using BadInput = CommandTest;

TEST_F(BadInput, EachFailureIsOneLineNamingTheFileOrTheMistake)
{
    build("good.tsk", "qvga");
    writeFile("cut.tsk", varno::test::readFile("good.tsk").left(2000));
    writeFile("junk.jpg", "not a picture");
    // A FIFO would block a reader that opened it for good.
    ASSERT_EQ(mkfifo("fifo.jpg", 0600), 0);
    const int Bad = Exit::BadInput, Use = Exit::Usage;
    const QString buildX = "build -o x.tsk --profile qvga ";
    const struct {
        QString args;  // split at spaces
        int code;
        QString err;
    } cases[] = {
        {"info cut.tsk", Bad, "varno: cut.tsk: 000000vl.000 cannot be read: Invalid data.\n"},
        {"render cut.tsk -o x.png", Bad,
         "varno: cut.tsk: 000000vl.000 cannot be read: Invalid data.\n"},
        {"info missing.tsk", Bad,
         "varno: missing.tsk: The system cannot find the file specified.\n"},
        {"list junk.jpg", Bad, "varno: junk.jpg: Invalid data.\n"},
        {buildX + "--image fifo.jpg", Bad, "varno: fifo.jpg: Invalid picture (Error #481)\n"},
        {buildX + "--colors-from junk.jpg", Bad, "varno: junk.jpg: Invalid data.\n"},
        {buildX + "--image ", Use, "varno build: --image needs a picture file\n"},
        {"info", Use, "varno info: give one theme file\n"},
        {"build -o x.tsk --profile xga", Use,
         "varno build: --profile is one of std, qvga, vga, sq240\n"},
        {"build -o x.tsk --profile std --wm5", Use,
         "varno build: the standard profile has no WM5 variant\n"},
        {buildX + "--color Nope=#000000", Use,
         "varno build: --color Nope=#000000: give SLOT=#RRGGBB with a slot such as NavBarLeft\n"},
        {buildX + "--fit x", Use, "varno build: --fit and the backgrounds need --image\n"},
        {buildX + "--image good.tsk --justify top", Use,
         "varno build: --justify is top, center or bottom with --fit x; left, center or right "
         "with --fit y\n"},
        {"build -o x.txt --profile qvga", Use, "varno build: -o must name a .tsk file\n"},
        {"build --profile qvga", Use, "varno build: give -o NAME.tsk or --name NAME\n"},
        {buildX + "--name y", Use,
         "varno build: --name y differs from the file's name x: a theme's name is its file's "
         "name\n"},
        {QStringLiteral("build -o \u0422\u0435\u043c\u0430.tsk --profile qvga"), Use,
         QStringLiteral("varno build: the theme's name \"\u0422\u0435\u043c\u0430\" may hold only "
                        "letters, digits, spaces, '-', '.' and '_'\n")},
        {"build -o x.tsk --profile std --image junk.jpg --fit x --justify bottom", Use,
         "varno build: --justify: the standard profile's pictures are not justified; use "
         "--profile qvga, vga or sq240\n"},
        {"render --profile std --landscape -o x.png", Use,
         "varno render: --landscape: the STD profile has no landscape screen\n"},
        {"build --frobnicate 1", Use, "varno build: unknown option frobnicate\n"},
        {"nonsense", Use, "varno: unknown command nonsense\n"},
        {"render good.tsk --profile qvga -o x.png", Use,
         "varno render: give a theme file or --profile, not both\n"},
        {"render --profile qvga --view SIDEWAYS -o x.png", Use,
         "varno render: --view is one of MAIN, MENU, MESSAGE, MESSAGEIMP, NAVIGATION\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.toStdString());
        const Outcome o = run(c.args.split(u' '));
        EXPECT_EQ(o.code, c.code);
        EXPECT_EQ(o.err, c.err);
    }
    EXPECT_FALSE(QFile::exists("x.tsk"));
}

TEST_F(BadInput, MemberNamesReachTheTerminalEscapedAndTheXmlParses)
{
    const QString name = QStringLiteral("a&b<c>\"\x1b[2J\nx.txt");
    const QString shown = QStringLiteral("a&b<c>\"\\x1b[2J\\x0ax.txt");
    writeCabinet(work.filePath("odd.cab"), {{name, "data"}}, false);
    const Outcome plain = run({"list", "odd.cab"});
    ASSERT_EQ(plain.code, Exit::Ok);
    EXPECT_TRUE(plain.out.contains(shown)) << plain.out.toStdString();
    EXPECT_EQ(plain.out.count(QLatin1Char('\n')), 1);

    const Outcome xml = run({"list", "odd.cab", "--xml"});
    ASSERT_EQ(xml.code, Exit::Ok);
    QXmlStreamReader reader(xml.out);
    QString fullName;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"FULLNAME")
            fullName = reader.readElementText();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(fullName, shown);
}

TEST_F(BadInput, CommandsNeedNothingWritableButTheirOutput)
{
    // A home that cannot exist: its parent is a plain file.
    writeFile("blocker", "");
    qputenv("VARNO_HOME", QFile::encodeName(work.filePath("blocker/home")));
    const Outcome b = run({"build", "-o", "t.tsk", "--profile", "vga"});
    EXPECT_EQ(b.code, Exit::Ok) << b.err.toStdString();
    EXPECT_EQ(run({"info", "t.tsk"}).code, Exit::Ok);
}

// A lone argument is a file to open: one that is missing is said to be so.
TEST_F(BadInput, TheProgramTellsAMissingFileFromAnUnknownCommand)
{
    const struct {
        const char *argument, *err;
    } cases[] = {{"missing.tsk", "varno: missing.tsk: no such file\n"},
                 {"nonsense", "varno: unknown command nonsense; see varno --help\n"}};
    for (const auto &c : cases) {
        QProcess p;
        p.start(QStringLiteral(VARNO_PROGRAM), {QString::fromLatin1(c.argument)});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), Exit::Usage);
        EXPECT_EQ(p.readAllStandardError(), QByteArray(c.err));
    }
}
