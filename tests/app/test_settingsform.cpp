// The settings dialog: what it shows, what it refuses, what it stores.
#include "app/settingsform.h"
#include "support/scriptedprompt.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

namespace {

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths.appFolder = dir.path();
        s.name1 = "Ann";
        s.name2 = "b.example";
        s.name3 = "c.example";
        s.todayText = "notmm";
        s.headings = "same";
        s.paths = "yes";
    }
    QString stored(const char *name)
    {
        return registry.readString(settingsSectionName(), QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    AppPaths paths;
    SettingsFile registry{dir.filePath("settings.reg")};
    SettingsStore store{registry, paths, settingsSectionName()};
    AppSettings s;
    ScriptedPrompt prompt;
    SettingsForm dialog{prompt, s, store};
};

}  // namespace

TEST_F(SettingsFormTest, OpensOnTheCurrentValues)
{
    dialog.load();
    EXPECT_EQ(dialog.name1, QStringLiteral("Ann"));
    EXPECT_EQ(dialog.todayTextOption, 2);
    EXPECT_EQ(dialog.headingsOption, 1);
    EXPECT_EQ(dialog.foldersOption, 1);
    const struct {
        const char *today, *headings, *paths;
        int todayIndex, headingsIndex, pathsIndex;
    } cases[] = {{"all", "manual", "no", 0, 0, 0},
                 {"none", "opposite", "YES", 3, 2, 0},
                 {"sometimes", "whatever", "", -1, 2, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.today);
        s.todayText = c.today;
        s.headings = c.headings;
        s.paths = c.paths;
        dialog.load();
        EXPECT_EQ(dialog.todayTextOption, c.todayIndex);
        EXPECT_EQ(dialog.headingsOption, c.headingsIndex);
        EXPECT_EQ(dialog.foldersOption, c.pathsIndex);
    }
}

TEST_F(SettingsFormTest, BlankNamesAreRefusedInOrder)
{
    dialog.load();
    dialog.name2 = "   ";
    dialog.name3 = "";
    EXPECT_FALSE(dialog.pressButton(1));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Please Enter a Name in Name 2", MsgIcon::Exclamation, "Velmora",
                               MsgButtons::OK}));
    EXPECT_EQ(registry.valueCount(settingsSectionName()), 0);
    EXPECT_EQ(s.name2, QStringLiteral("b.example"));
}

TEST_F(SettingsFormTest, AcceptStoresTrimmedValuesCancelNothing)
{
    dialog.load();
    dialog.name1 = "  Bo  ";
    dialog.todayTextOption = -1;
    dialog.headingsOption = 0;
    dialog.foldersOption = 0;
    EXPECT_TRUE(dialog.pressButton(0));
    EXPECT_EQ(s.name1, QStringLiteral("Ann"));
    EXPECT_EQ(registry.valueCount(settingsSectionName()), 0);

    EXPECT_TRUE(dialog.pressButton(1));
    EXPECT_EQ(s.name1, QStringLiteral("Bo"));
    EXPECT_EQ(s.todayText, QStringLiteral("none"));
    EXPECT_EQ(s.headings, QStringLiteral("manual"));
    EXPECT_EQ(s.paths, QStringLiteral("no"));
    // Stored in the dialog's order.
    const char *order[] = {"Headings", "TodayText", "Paths", "Name1", "Name2", "Name3"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(registry.valueName(settingsSectionName(), i + 1), QString::fromLatin1(order[i]));
    EXPECT_EQ(stored("Name1"), QStringLiteral("Bo"));
    EXPECT_EQ(stored("TodayText"), QStringLiteral("none"));
}
