// The help command.
#include "support/scriptedprompt.h"
#include "ui/smalldialogs.h"

#include <QFile>
#include <QTemporaryDir>

using namespace varno;
using varno::test::okBox;
using varno::test::ScriptedPrompt;

TEST(SmallDialogs, HelpNeedsItsFile)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    QStringList opened;
    const auto viewer = [&](const QString &file, const QString &topic) {
        opened << file + "#" + topic;
    };
    showHelpContents(prompt, dir.path(), viewer);
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("Unable to display Help due to lack of a help file!", "Varno",
                                MsgIcon::Exclamation)});
    EXPECT_TRUE(opened.isEmpty());

    QFile help(dir.filePath("varno.chm"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    showHelpContents(prompt, dir.path(), viewer);
    EXPECT_EQ(opened, QStringList{dir.filePath("varno.chm") + "#welcome.htm"});
}
