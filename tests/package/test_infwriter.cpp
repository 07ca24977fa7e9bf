#include "package/infwriter.h"
#include "support/scriptedprompt.h"

#include "colour/colortable.h"
#include "resources/resources.h"

using namespace varno;

// Template, then the DPI line for VGA, the 22 colour records (names padded
// to two places, bytes in bare hex), the base hue for WM5, and the strings
// with the name trimmed.
TEST(InstallationScript, GeneratedLinesByProfile)
{
    const QByteArray tmpl = customResource(QStringLiteral("TOPINF"));
    const QByteArray first = "HKLM,%reg_path%, 5,0x00000001,0,80,FF,00\r\n";
    const QByteArray strings = "\r\n[CEStrings]\r\nAppName=Blue Wave\r\nInstallDir=%CE2%\r\n";
    const QByteArray last = "HKLM,%reg_path%,40,0x00000001,0,0,F7,00\r\n";
    for (const bool vgaWm5 : {false, true}) {
        SCOPED_TRACE(vgaWm5);
        const QByteArray text = buildInfText(tmpl, vgaWm5 ? "VGA" : "QVGA", vgaWm5,
                                             defaultThemeColors(), QStringLiteral("  Blue Wave  "));
        EXPECT_TRUE(text.startsWith(tmpl + (vgaWm5 ? "HKCU,%reg_dpi%,DPI,0x00010001,192\r\n" : "") +
                                    first));
        EXPECT_TRUE(text.endsWith(
            last + (vgaWm5 ? "HKLM,%reg_path%,BaseHue,0x00010001,417\r\n" : "") + strings));
        EXPECT_EQ(text.count("0x00000001,"), 22);
        EXPECT_TRUE(text.contains("\nHKLM,%reg_path%,38,0x00000001,C2,6,5,00\r\n"));
    }
}

TEST(InstallationScript, SaveTrimsTheNameAndReportsAMissingFolder)
{
    QTemporaryDir dir;
    varno::test::ScriptedPrompt prompt;
    QString name = QStringLiteral(" Mine ");
    saveInfFile(prompt, dir.path(), "T\r\n", QStringLiteral("STD"), false, defaultThemeColors(),
                name);
    EXPECT_EQ(name, QStringLiteral("Mine"));
    EXPECT_TRUE(varno::test::readFile(dir.filePath("vl.inf")).startsWith("T\r\nHKLM,"));
    EXPECT_TRUE(prompt.calls().empty());
    saveInfFile(prompt, dir.filePath(QStringLiteral("missing")), "T", QStringLiteral("STD"), false,
                defaultThemeColors(), name);
    EXPECT_EQ(prompt.messages(),
              std::vector{varno::test::okBox("Error in SaveIniFile! Path not found 76")});
}
