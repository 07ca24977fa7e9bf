// About box, help command and input box.
#include "support/scriptedprompt.h"
#include "ui/smalldialogs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

TEST(SmallDialogs, AboutShowsTheVersionInThreeParts)
{
    frmAbout about;
    about.Form_Load();
    EXPECT_TRUE(about.lblVersion.contains(QRegularExpression("^Version: \\d+\\.\\d+\\.\\d+$")))
        << about.lblVersion.toStdString();
    EXPECT_EQ(about.Label1, QStringLiteral("Varno"));
}

TEST(SmallDialogs, HelpNeedsItsFile)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    QStringList opened;
    const auto viewer = [&](const QString &file, const QString &topic) {
        opened << file + "#" + topic;
    };
    mnuContent_Click(prompt, dir.path(), viewer);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Unable to display Help due to lack of a help file!",
                               MsgIcon::Exclamation, "Varno", MsgButtons::OK}));
    EXPECT_TRUE(opened.isEmpty());

    QFile help(dir.filePath("varno.chm"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    mnuContent_Click(prompt, dir.path(), viewer);
    EXPECT_EQ(opened, QStringList{dir.filePath("varno.chm") + "#welcome.htm"});
    EXPECT_EQ(prompt.messages().size(), 1u);
}

TEST(SmallDialogs, InputBoxCancelKeepsTheEarlierResult)
{
    frmMessageWithInput box;
    box.Result = "before";
    box.Cancelled = true;
    box.Form_Load();
    EXPECT_FALSE(box.Cancelled);
    box.Text = "typed";
    box.btnCancel_Click();
    EXPECT_TRUE(box.Cancelled);
    EXPECT_EQ(box.Result, QStringLiteral("before"));

    box.Form_Load();
    box.Text.clear();
    box.btnOk_Click();
    EXPECT_FALSE(box.Cancelled);
    EXPECT_EQ(box.Result, QString());
}
