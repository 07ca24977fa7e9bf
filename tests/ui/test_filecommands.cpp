// Saving and opening themes through the main window's commands.
#include "editortest.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;

namespace {

class FileCommands : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        module.Doc.LEADMain = Raster(640, 588);
        module.Doc.LEADMenu = Raster(640, 588);
        screen.requests.clear();
    }
    QString tsk(const QString &name) const { return module.Settings.TSKPath + name + ".tsk"; }
};

}  // namespace

TEST_F(FileCommands, SaveButtonAsksForCompressionFirst)
{
    window->btnSave_Click();
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Enter Theme Name First!", MsgIcon::Exclamation, "Notice",
                               MsgButtons::OK}));
    prompt.clear();

    window->setThemeName("Sky");
    int asked = 0;
    QString answer = "CANCEL";
    window->AskSaveCompression = [&] {
        ++asked;
        return answer;
    };
    window->btnSave_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(prompt.calls().empty());

    const struct {
        const char *choice;
        QByteArray magic;
    } choices[] = {{"HIGH", "\xFF\xD8"}, {"MED", "\xFF\xD8"}, {"LOW", "MSCF"}};
    for (const auto &c : choices) {
        SCOPED_TRACE(c.choice);
        answer = c.choice;
        prompt.answerFile(tsk("Sky"));
        window->btnSave_Click();
        QFile f(tsk("Sky"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith("MSCF"));
        EXPECT_EQ(prompt.messages().back().text, QStringLiteral("Theme Sky has been saved!"));
    }
    frmSaveTheme dialog;
    EXPECT_EQ(dialog.btnSave_Click(), QStringLiteral("HIGH"));
    dialog.Option = 1;
    EXPECT_EQ(dialog.btnSave_Click(), QStringLiteral("MED"));
    dialog.Option = 2;
    EXPECT_EQ(dialog.btnSave_Click(), QStringLiteral("LOW"));
}

TEST_F(FileCommands, OpeningAThemeShowsItsProfileAndName)
{
    window->mnuNewWM5VGA_Click();
    window->setThemeName("Night");
    module.Doc.Colours.Colors[CommandBar] = RGB(1, 2, 3);
    prompt.answerFile(tsk("Night"));
    window->mnuSaveThemeLow_Click();

    window->mnuNewStandard_Click();
    EXPECT_EQ(window->view().checkedProfile, 0);
    prompt.answerFile(tsk("Night"));
    window->mnuLoadTheme_Click();
    const MainView &v = window->view();
    EXPECT_EQ(v.checkedProfile, 5);
    EXPECT_EQ(v.newThemePressed, (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(v.landscapeVisible);
    EXPECT_EQ(v.themeNameText, QStringLiteral("Night"));
    EXPECT_EQ(v.sliderTransparency, 0);
    EXPECT_EQ(module.Doc.ThemeType, QStringLiteral("VGA"));
    EXPECT_TRUE(module.Doc.Wm5Theme);
    EXPECT_EQ(module.Doc.Colours.Colors[CommandBar], RGB(1, 2, 3));
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MAIN"));

    // Colours only: the new QVGA profile stays, and the WM5 flag goes off.
    window->mnuNewQVGA_Click();
    prompt.answerFile(tsk("Night"));
    window->mnuColorsFromTheme_Click();
    EXPECT_EQ(module.Doc.ThemeType, QStringLiteral("QVGA"));
    EXPECT_FALSE(module.Doc.Wm5Theme);
    EXPECT_EQ(module.Doc.Colours.Colors[CommandBar], RGB(1, 2, 3));
}
