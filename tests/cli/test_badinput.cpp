// What the commands print for damaged and hostile input: one line naming
// the file, nothing raw from a member name, and XML that parses.
#include "cli/commands.h"
#include "package/cabwriter.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace varno;

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

class BadInput : public ::testing::Test {
protected:
    void SetUp() override { QDir::setCurrent(work.path()); }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }
    static void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    varno::test::Sandbox box;
    QTemporaryDir work;
};

}  // namespace

TEST_F(BadInput, EachFailureIsOneLineNamingTheFile)
{
    ASSERT_EQ(run({"build", "-o", "good.tsk", "--profile", "qvga", "--name", "Good"}).code,
              Exit::Ok);
    QFile good("good.tsk");
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    write("cut.tsk", good.readAll().left(2000));
    write("junk.jpg", "not a picture");
    // A FIFO would block a reader that opened it for good.
    ASSERT_EQ(mkfifo("fifo.jpg", 0600), 0);
    const struct {
        QStringList args;
        int code;
        QString err;
    } cases[] = {
        {{"info", "cut.tsk"},
         Exit::BadInput,
         "varno: cut.tsk: 000000vl.000 cannot be read: "
         "Invalid data.\n"},
        {{"info", "missing.tsk"},
         Exit::BadInput,
         "varno: missing.tsk: The system cannot find the file specified.\n"},
        {{"render", "cut.tsk", "-o", "x.png"},
         Exit::BadInput,
         "varno: cut.tsk: 000000vl.000 cannot be read: Invalid data.\n"},
        {{"list", "junk.jpg"}, Exit::BadInput, "varno: junk.jpg: Invalid data.\n"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--image", "junk.jpg"},
         Exit::BadInput,
         "varno: junk.jpg: Invalid picture (Error #481)\n"},
        {{"build", "-o", "x.tsk", "--profile", "qvga", "--name", "X", "--image", ""},
         Exit::Usage,
         "varno build: --image needs a picture file\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Outcome o = run(c.args);
        EXPECT_EQ(o.code, c.code);
        EXPECT_EQ(o.err, c.err);
    }
}

TEST_F(BadInput, MemberNamesReachTheTerminalEscapedAndTheXmlParses)
{
    const QString name = QStringLiteral("a&b<c>\"\x1b[2J\nx.txt");
    writeCabinet(work.filePath("odd.cab"), {{name, "data"}}, false);

    const Outcome plain = run({"list", "odd.cab"});
    ASSERT_EQ(plain.code, Exit::Ok);
    EXPECT_TRUE(plain.out.contains(QStringLiteral("a&b<c>\"\\x1b[2J\\x0ax.txt")))
        << plain.out.toStdString();
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
    EXPECT_EQ(fullName, QStringLiteral("a&b<c>\"\\x1b[2J\\x0ax.txt"));
}

TEST_F(BadInput, CommandsNeedNothingWritableButTheirOutput)
{
    // A home that cannot exist: its parent is a plain file.
    write("blocker", "");
    qputenv("VARNO_HOME", QFile::encodeName(work.filePath("blocker/home")));
    const Outcome b = run({"build", "-o", "t.tsk", "--profile", "vga", "--name", "T"});
    EXPECT_EQ(b.code, Exit::Ok) << b.err.toStdString();
    EXPECT_EQ(run({"info", "t.tsk"}).code, Exit::Ok);
}
