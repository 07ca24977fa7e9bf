#include "package/infwriter.h"
#include "support/scriptedprompt.h"

#include "colour/colortable.h"

using namespace varno;

// The template, the 22 colour records (names padded to two places, bytes in
// bare hex) and the strings with the name trimmed. A QVGA theme has neither
// the VGA DPI line nor the WM5 base hue; those are read back in the wizard's
// and the build command's tests.
TEST(InstallationScript, RecordsAfterTheTemplateAndAMissingFolderSaid)
{
    QTemporaryDir dir;
    varno::test::ScriptedPrompt prompt;
    QString name = QStringLiteral(" Mine ");
    saveInfFile(prompt, dir.path(), "T\r\n", QStringLiteral("QVGA"), false, defaultThemeColors(),
                name);
    EXPECT_EQ(name, QStringLiteral("Mine"));
    const QByteArray text = varno::test::readFile(dir.filePath("vl.inf"));
    EXPECT_TRUE(text.startsWith("T\r\nHKLM,%reg_path%, 5,0x00000001,0,80,FF,00\r\n"));
    EXPECT_TRUE(text.endsWith("HKLM,%reg_path%,40,0x00000001,0,0,F7,00\r\n\r\n[CEStrings]\r\n"
                              "AppName=Mine\r\nInstallDir=%CE2%\r\n"));
    EXPECT_EQ(text.count("0x00000001,"), 22);
    EXPECT_TRUE(prompt.calls().empty());
    saveInfFile(prompt, dir.filePath(QStringLiteral("missing")), "T", QStringLiteral("STD"), false,
                defaultThemeColors(), name);
    EXPECT_EQ(prompt.messages(),
              std::vector{varno::test::okBox("Error in SaveIniFile! Path not found 76")});
}
