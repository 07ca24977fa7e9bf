// The settings dialog: what it shows, what it refuses, what it stores.
#include "app/settingsform.h"
#include "support/scriptedprompt.h"

using namespace varno;

namespace {

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths.appFolder = dir.path();
        s.name1 = "Ann";
    }

    QTemporaryDir dir;
    AppPaths paths;
    SettingsFile registry{dir.filePath("settings.reg")};
    SettingsStore store{registry, paths, settingsSectionName()};
    AppSettings s;
    varno::test::ScriptedPrompt prompt;
    SettingsForm dialog{prompt, s, store};
};

}  // namespace

TEST_F(SettingsFormTest, OpensOnTheCurrentValues)
{
    const struct {
        const char *today, *headings, *paths;
        int todayIndex, headingsIndex, pathsIndex;
    } cases[] = {{"notmm", "same", "yes", 2, 1, 1},
                 {"all", "manual", "no", 0, 0, 0},
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
    EXPECT_EQ(dialog.name1, QStringLiteral("Ann"));
}

// Cancel stores nothing; OK refuses the first blank name, then stores the
// trimmed values in the dialog's order.
TEST_F(SettingsFormTest, CancelKeepsOkRefusesBlankNamesThenStores)
{
    dialog.load();
    dialog.name1 = "  Bo  ";
    dialog.name2 = "   ";
    dialog.todayTextOption = -1;
    dialog.headingsOption = 1;
    dialog.foldersOption = 0;
    EXPECT_TRUE(dialog.pressButton(0));
    EXPECT_FALSE(dialog.pressButton(1));
    EXPECT_EQ(prompt.messages(), std::vector{varno::test::okBox("Please Enter a Name in Name 2",
                                                                "Velmora", MsgIcon::Exclamation)});
    EXPECT_EQ(registry.valueCount(settingsSectionName()), 0);
    EXPECT_EQ(s.name1, QStringLiteral("Ann"));
    dialog.name2 = dialog.name3 = "x";
    EXPECT_TRUE(dialog.pressButton(1));
    EXPECT_EQ(s.name1, QStringLiteral("Bo"));
    const QStringList stored[] = {{"Headings", "same"}, {"TodayText", "none"}, {"Paths", "no"},
                                  {"Name1", "Bo"},      {"Name2", "x"},        {"Name3", "x"}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(registry.valueName(settingsSectionName(), i + 1), stored[i][0]);
        EXPECT_EQ(registry.readString(settingsSectionName(), stored[i][0]), stored[i][1]);
    }
}
