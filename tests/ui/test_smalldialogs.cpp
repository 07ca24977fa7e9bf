// The help command and its manual.
#include "support/scriptedprompt.h"
#include "ui/smalldialogs.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace varno;
using varno::test::okBox;
using varno::test::readFile;
using varno::test::ScriptedPrompt;

// The manual that ships with the program opens at its welcome page, and
// every page it links to is there.
TEST(SmallDialogs, HelpOpensTheManualOrSaysItIsMissing)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    QStringList opened;
    const auto viewer = [&](const QString &folder, const QString &topic) {
        opened << folder + "#" + topic;
    };
    showHelpContents(prompt, dir.path(), viewer);
    showHelpContents(prompt, QString(), viewer);
    const auto missing =
        okBox("Unable to display Help due to lack of a help file!", "Varno", MsgIcon::Exclamation);
    EXPECT_EQ(prompt.messages(), std::vector({missing, missing}));
    EXPECT_TRUE(opened.isEmpty());

    const QString manual = manualFolder();
    ASSERT_FALSE(manual.isEmpty());
    showHelpContents(prompt, manual, viewer);
    EXPECT_EQ(opened, QStringList{manual + "#welcome.htm"});
    const QDir pages(manual);
    for (const QString &page : pages.entryList({"*.htm"})) {
        const QString html = QString::fromUtf8(readFile(pages.filePath(page)));
        const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (auto it = link.globalMatch(html); it.hasNext();)
            EXPECT_TRUE(pages.exists(it.next().captured(1))) << page.toStdString();
    }
}
