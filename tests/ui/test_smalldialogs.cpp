// About box, help command and input box.
#include "support/scriptedprompt.h"
#include "ui/smalldialogs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::okBox;
using varno::test::ScriptedPrompt;

TEST(SmallDialogs, AboutShowsTheVersionInThreeParts)
{
    AboutBox about;
    about.load();
    EXPECT_TRUE(about.versionText.contains(QRegularExpression("^Version: \\d+\\.\\d+\\.\\d+$")))
        << about.versionText.toStdString();
    EXPECT_EQ(about.programName, QStringLiteral("Varno"));
}

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

TEST(SmallDialogs, InputBoxCancelKeepsTheEarlierResult)
{
    InputBoxModel box;
    box.result = "before";
    box.cancelled = true;
    box.load();
    EXPECT_FALSE(box.cancelled);
    box.text = "typed";
    box.cancel();
    EXPECT_EQ(box.result, QStringLiteral("before"));
}
