// The settings dialog: what it shows, what it refuses, what it stores.
#include "app/frmsettings.h"
#include "support/scriptedprompt.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths.appFolder = dir.path();
        s.Name1 = "Ann";
        s.Name2 = "b.example";
        s.Name3 = "c.example";
        s.TodayText = "notmm";
        s.Headings = "same";
        s.Paths = "yes";
    }
    QString stored(const char *name)
    {
        return registry.ReadRegString(Hive::HKEY_LOCAL_MACHINE, SettingsKeyPath(),
                                      QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    AppPaths paths;
    CRegistry registry{dir.filePath("settings.reg")};
    SettingsStore store{registry, paths, SettingsKeyPath()};
    AppSettings s;
    ScriptedPrompt prompt;
    frmSettings dialog{prompt, s, store};
};

}  // namespace

TEST_F(Settings, OpensOnTheCurrentValues)
{
    dialog.Form_Load();
    EXPECT_EQ(dialog.txtName1, QStringLiteral("Ann"));
    EXPECT_EQ(dialog.radTodayText, 2);
    EXPECT_EQ(dialog.radHeadings, 1);
    EXPECT_EQ(dialog.radDirectories, 1);
    const struct {
        const char *today, *headings, *paths;
        int todayIndex, headingsIndex, pathsIndex;
    } cases[] = {{"all", "manual", "no", 0, 0, 0},
                 {"none", "opposite", "YES", 3, 2, 0},
                 {"sometimes", "whatever", "", -1, 2, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.today);
        s.TodayText = c.today;
        s.Headings = c.headings;
        s.Paths = c.paths;
        dialog.Form_Load();
        EXPECT_EQ(dialog.radTodayText, c.todayIndex);
        EXPECT_EQ(dialog.radHeadings, c.headingsIndex);
        EXPECT_EQ(dialog.radDirectories, c.pathsIndex);
    }
}

TEST_F(Settings, BlankNamesAreRefusedInOrder)
{
    dialog.Form_Load();
    dialog.txtName2 = "   ";
    dialog.txtName3 = "";
    EXPECT_FALSE(dialog.btnButton_Click(1));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Please Enter a Name in Name 2", MsgIcon::Exclamation, "Velmora",
                               MsgButtons::OK}));
    EXPECT_EQ(registry.SubValueCount(Hive::HKEY_LOCAL_MACHINE, SettingsKeyPath()), 0);
    EXPECT_EQ(s.Name2, QStringLiteral("b.example"));
}

TEST_F(Settings, AcceptStoresTrimmedValuesCancelNothing)
{
    dialog.Form_Load();
    dialog.txtName1 = "  Bo  ";
    dialog.radTodayText = -1;
    dialog.radHeadings = 0;
    dialog.radDirectories = 0;
    EXPECT_TRUE(dialog.btnButton_Click(0));
    EXPECT_EQ(s.Name1, QStringLiteral("Ann"));
    EXPECT_EQ(registry.SubValueCount(Hive::HKEY_LOCAL_MACHINE, SettingsKeyPath()), 0);

    EXPECT_TRUE(dialog.btnButton_Click(1));
    EXPECT_EQ(s.Name1, QStringLiteral("Bo"));
    EXPECT_EQ(s.TodayText, QStringLiteral("none"));
    EXPECT_EQ(s.Headings, QStringLiteral("manual"));
    EXPECT_EQ(s.Paths, QStringLiteral("no"));
    // Stored in the dialog's order.
    const char *order[] = {"Headings", "TodayText", "Paths", "Name1", "Name2", "Name3"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(registry.SubValueName(Hive::HKEY_LOCAL_MACHINE, SettingsKeyPath(), i + 1),
                  QString::fromLatin1(order[i]));
    EXPECT_EQ(stored("Name1"), QStringLiteral("Bo"));
    EXPECT_EQ(stored("TodayText"), QStringLiteral("none"));
}
