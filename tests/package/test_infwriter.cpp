#include "colour/colortable.h"
#include "package/infwriter.h"
#include "resources/resources.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

// Template, then the DPI line for VGA, the 22 colour records (names padded
// to two places, bytes in bare hex), the base hue for WM5, and the strings.
TEST(InstallationScript, GeneratedLinesByProfile)
{
    const QByteArray tmpl = customResource(QStringLiteral("TOPINF"));
    const QByteArray dpi = "HKCU,%reg_dpi%,DPI,0x00010001,192\r\n";
    const QByteArray hue = "HKLM,%reg_path%,BaseHue,0x00010001,417\r\n";
    const QByteArray first = "HKLM,%reg_path%, 5,0x00000001,0,80,FF,00\r\n";
    const QByteArray last = "HKLM,%reg_path%,40,0x00000001,0,0,F7,00\r\n";
    const QByteArray strings = "\r\n[CEStrings]\r\nAppName=Blue Wave\r\nInstallDir=%CE2%\r\n";
    const struct {
        const char *type;
        bool wm5;
        QByteArray before, after;
    } cases[] = {{"QVGA", false, "", ""},
                 {"VGA", false, dpi, ""},
                 {"SQ240", true, "", hue},
                 {"VGA", true, dpi, hue}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.wm5 ? " WM5" : ""));
        const QByteArray text = buildInfText(tmpl, QString::fromLatin1(c.type), c.wm5,
                                             defaultThemeColors(), QStringLiteral("  Blue Wave  "));
        EXPECT_TRUE(text.startsWith(tmpl + c.before + first));
        EXPECT_TRUE(text.endsWith(last + c.after + strings));
        EXPECT_EQ(text.count("0x00000001,"), 22);
        EXPECT_TRUE(text.contains("\nHKLM,%reg_path%,38,0x00000001,C2,6,5,00\r\n"));
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
    const QByteArray text = varno::test::readFile(dir.filePath(QStringLiteral("vl.inf")));
    EXPECT_TRUE(text.startsWith("T\r\nHKLM,%reg_path%, 5,0x00000001,A,0,FF,00\r\n"));
    EXPECT_TRUE(text.endsWith("BaseHue,0x00010001,7\r\n\r\n[CEStrings]\r\nAppName=Mine\r\n"
                              "InstallDir=%CE2%\r\n"));
    EXPECT_TRUE(prompt.calls().empty());

    saveInfFile(prompt, dir.filePath(QStringLiteral("missing")), "T", QStringLiteral("STD"), false,
                colours, name);
    EXPECT_EQ(prompt.messages(), (std::vector<RecordedMessage>{
                                     {"Error in SaveIniFile! Path not found 76", MsgIcon::Critical,
                                      "Velmora - Error", MsgButtons::OK}}));
}
