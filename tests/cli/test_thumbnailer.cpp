// The file managers' thumbnailer as installed: its entry names the program
// and the theme type, and the program makes the picture of a JPEG or a PNG
// theme at the size asked, or says why not.
#include "clirun.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>

using Thumbnailer = CommandTest;

TEST_F(Thumbnailer, InstalledEntryAndProgramMakeThePicture)
{
    QProcess install;
    install.start(QStringLiteral("cmake"), {"--install", VARNO_BUILD_DIR, "--prefix", "prefix"});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QByteArray entry = varno::test::readFile("prefix/share/thumbnailers/varno.thumbnailer");
    EXPECT_TRUE(entry.contains("\nExec=varno-thumbnailer -s %s %i %o\n"));
    const QByteArray mime = varno::test::readFile("prefix/share/mime/packages/varno.xml");
    const QString type = QRegularExpression(QStringLiteral("MimeType=([^;]+);"))
                             .match(QString::fromUtf8(entry))
                             .captured(1);
    EXPECT_TRUE(mime.contains("type=\"" + type.toUtf8() + "\"")) << type.toStdString();

    build("vga.tsk", "vga");
    build("png.tsk", "qvga", {"--compression", "low"});
    varno::test::writeFile("bad.tsk", "MSCF");
    const struct {
        const char *size, *theme;
        QSize picture;
        int code;
    } cases[] = {{"128", "vga.tsk", {128, 117}, 0},
                 {"256", "vga.tsk", {256, 235}, 0},
                 {"64", "png.tsk", {64, 58}, 0},
                 {"128", "bad.tsk", {}, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.theme);
        QFile::remove("out.png");
        QProcess p;
        p.start(QStringLiteral("prefix/bin/varno-thumbnailer"), {"-s", c.size, c.theme, "out.png"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), c.code) << p.readAllStandardError().toStdString();
        EXPECT_EQ(QImage("out.png").size(), c.code ? QSize(0, 0) : c.picture);
    }
}
