#include "colour/colortable.h"
#include "package/infwriter.h"
#include "resources/resources.h"
#include "support/scriptedprompt.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

// The default colour lines, written out by hand from the default table.
const char kDefaultColourLines[] = "HKLM,%reg_path%, 5,0x00000001,0,80,FF,00\r\n"
                                   "HKLM,%reg_path%, 8,0x00000001,0,0,A0,00\r\n"
                                   "HKLM,%reg_path%, 9,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%, 4,0x00000001,0,0,0,00\r\n"
                                   "HKLM,%reg_path%, 6,0x00000001,0,0,0,00\r\n"
                                   "HKLM,%reg_path%, 7,0x00000001,50,A8,EC,00\r\n"
                                   "HKLM,%reg_path%,10,0x00000001,FF,0,0,00\r\n"
                                   "HKLM,%reg_path%,11,0x00000001,FF,0,0,00\r\n"
                                   "HKLM,%reg_path%,12,0x00000001,50,50,50,00\r\n"
                                   "HKLM,%reg_path%,13,0x00000001,0,0,A0,00\r\n"
                                   "HKLM,%reg_path%,14,0x00000001,0,80,FF,00\r\n"
                                   "HKLM,%reg_path%,15,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%,16,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%,25,0x00000001,FF,0,0,00\r\n"
                                   "HKLM,%reg_path%,26,0x00000001,FF,80,40,00\r\n"
                                   "HKLM,%reg_path%,27,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%,28,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%,36,0x00000001,FF,FF,FF,00\r\n"
                                   "HKLM,%reg_path%,37,0x00000001,96,96,FF,00\r\n"
                                   "HKLM,%reg_path%,38,0x00000001,C2,6,5,00\r\n"
                                   "HKLM,%reg_path%,39,0x00000001,0,0,0,00\r\n"
                                   "HKLM,%reg_path%,40,0x00000001,0,0,F7,00\r\n";

}  // namespace

TEST(InstallationScript, TemplateIsTheExactResource)
{
    const QByteArray t = customResource(QStringLiteral("TOPINF"));
    ASSERT_EQ(t.size(), 737);
    EXPECT_TRUE(t.startsWith("[Version]\r\nSignature       = \"$Chicago$\"\r\nCESignature \t= "));
    EXPECT_TRUE(t.contains("tdywater.gif\t= 1\r\nstwater.gif\t= 1\r\n"));
    EXPECT_TRUE(t.contains("Files.Common.Windows    = 0,%CE2%\t\r\n"));
    EXPECT_TRUE(t.contains("DefaultDestDir   \t= 0,%InstallDir%\t\t\t  \r\n"));
    EXPECT_TRUE(t.endsWith("[Registry.Common]\r\n\r\n"));
}

TEST(InstallationScript, GeneratedLinesByProfile)
{
    const QByteArray tmpl = customResource(QStringLiteral("TOPINF"));
    ThemeColors colours = defaultThemeColors();
    const struct {
        const char *name;
        const char *type;
        bool wm5;
        QByteArray before, after;
    } cases[] = {
        {"neither", "QVGA", false, "", ""},
        {"VGA", "VGA", false, "HKCU,%reg_dpi%,DPI,0x00010001,192\r\n", ""},
        {"WM5", "SQ240", true, "", "HKLM,%reg_path%,BaseHue,0x00010001,417\r\n"},
        {"both", "VGA", true, "HKCU,%reg_dpi%,DPI,0x00010001,192\r\n",
         "HKLM,%reg_path%,BaseHue,0x00010001,417\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray text = buildInfText(tmpl, QString::fromLatin1(c.type), c.wm5, colours,
                                             QStringLiteral("  Blue Wave  "));
        EXPECT_EQ(text, tmpl + c.before + kDefaultColourLines + c.after +
                            "\r\n[CEStrings]\r\nAppName=Blue Wave\r\nInstallDir=%CE2%\r\n");
    }
}

TEST(InstallationScript, SaveTrimsTheNameAndReportsAMissingFolder)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    ThemeColors colours = defaultThemeColors();
    colours[NavBarLeft] = rgb(10, 0, 255);
    colours.baseHueIndex = 7;
    QString name = QStringLiteral(" Mine ");
    saveInfFile(prompt, dir.path(), "T\r\n", QStringLiteral("STD"), true, colours, name);
    EXPECT_EQ(name, QStringLiteral("Mine"));
    QFile f(dir.filePath(QStringLiteral("vl.inf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("T\r\nHKLM,%reg_path%, 5,0x00000001,A,0,FF,00\r\n"));
    EXPECT_TRUE(text.endsWith("BaseHue,0x00010001,7\r\n\r\n[CEStrings]\r\nAppName=Mine\r\n"
                              "InstallDir=%CE2%\r\n"));
    EXPECT_TRUE(prompt.calls().empty());

    saveInfFile(prompt, dir.filePath(QStringLiteral("missing")), "T", QStringLiteral("STD"), false,
                colours, name);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].text, QStringLiteral("Error in SaveIniFile! Path not found 76"));
    EXPECT_EQ(prompt.messages()[0].title, QStringLiteral("Velmora - Error"));
    EXPECT_EQ(prompt.messages()[0].icon, MsgIcon::Critical);
}
