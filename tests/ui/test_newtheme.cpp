// The seven new-theme commands and what the window shows after each.
#include "editortest.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace varno;

namespace {

class NewTheme : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        screen.requests.clear();
    }
    // Opens the four fitting dialogs, recording which ones are closed.
    void openAllDialogs()
    {
        for (int i = 0; i < 4; ++i)
            QObject::connect(&window->ImageDialog(static_cast<ImageDialogKind>(i)),
                             &QObject::destroyed, [this, i] { closed.push_back(i); });
    }
};

using NewThemeDrawn = varno::test::EditorTest<PreviewScreen>;

}  // namespace

TEST_F(NewTheme, EachCommandSetsProfileIndicatorsAndStartsAfresh)
{
    const struct {
        void (frmMain::*command)();
        const char *type;
        bool wm5;
        int checked;
        int pressed;
        bool landscape;
    } cases[] = {
        {&frmMain::mnuNewStandard_Click, "STD", false, 0, 0, false},
        {&frmMain::mnuNewQVGA_Click, "QVGA", false, 1, 1, true},
        {&frmMain::mnuNewVGA_Click, "VGA", false, 2, 2, true},
        {&frmMain::mnuNewSQ240_Click, "SQ240", false, 3, -1, false},
        {&frmMain::mnuNewWM5QVGA_Click, "QVGA", true, 4, -1, true},
        {&frmMain::mnuNewWM5VGA_Click, "VGA", true, 5, -1, true},
        {&frmMain::mnuNewWM5SQ240_Click, "SQ240", true, 6, -1, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(Profiles()[c.checked].caption);
        window->setThemeName(QStringLiteral("Old Name"));
        module.Doc.ImageDialogReady = true;
        module.Doc.Colours.Colors[NavBarLeft] = RGB(1, 2, 3);
        module.Doc.Colours.Main = {200, RGB(9, 9, 9), true};
        openAllDialogs();
        closed.clear();
        screen.requests.clear();

        (window.get()->*c.command)();

        const MainView &v = window->view();
        EXPECT_EQ(module.Doc.ThemeType, QString::fromLatin1(c.type));
        EXPECT_EQ(module.Doc.Wm5Theme, c.wm5);
        EXPECT_FALSE(module.Doc.ImageDialogReady);
        EXPECT_EQ(v.checkedProfile, c.checked);
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(v.newThemePressed[b], b == c.pressed) << b;
        EXPECT_EQ(v.landscapeVisible, c.landscape);
        EXPECT_EQ(module.Doc.ThemeName, QString());
        EXPECT_EQ(v.themeNameText, QString());
        // The standard, SE and VGA dialogs go; the square one stays.
        EXPECT_EQ(closed, (std::vector<int>{0, 1, 2}));
        EXPECT_NE(window->ImageDialogs[3], nullptr);
        // Default colours, a fresh undo point and no overlays, then the drawing.
        EXPECT_EQ(module.Doc.Colours.Colors[NavBarLeft], RGB(0, 128, 255));
        EXPECT_EQ(module.Doc.Colours.ColorSnapshot, module.Doc.Colours.Colors);
        EXPECT_EQ(module.Doc.Colours.Main, TransparencyOverlay{});
        EXPECT_EQ(v.sliderTransparency, 0);
        EXPECT_EQ(screen.requests, QStringList{QStringLiteral("LoadDefault")});
    }
}

TEST_F(NewTheme, StandardAfterSquareHidesLandscapeAndPressesButtonZero)
{
    window->mnuNewSQ240_Click();
    EXPECT_FALSE(window->view().landscapeVisible);
    window->mnuNewQVGA_Click();
    EXPECT_TRUE(window->view().landscapeVisible);
    window->mnuNewStandard_Click();
    EXPECT_FALSE(window->view().landscapeVisible);
    EXPECT_EQ(window->view().newThemePressed, (std::array<bool, 3>{true, false, false}));
}

TEST_F(NewTheme, ButtonGroupRunsTheFirstThreeProfiles)
{
    window->btnNewTheme_Click(2);
    EXPECT_EQ(module.Doc.ThemeType, QStringLiteral("VGA"));
    EXPECT_EQ(window->view().newThemePressed, (std::array<bool, 3>{false, false, true}));
    const MainView before = window->view();
    screen.requests.clear();
    window->btnNewTheme_Click(3);
    window->btnNewTheme_Click(-1);
    EXPECT_EQ(window->view(), before);
    EXPECT_TRUE(screen.requests.isEmpty());
}

TEST_F(NewTheme, ExitClosesTheDialogsInOrderAndStoresTheProfile)
{
    window->mnuNewWM5VGA_Click();
    openAllDialogs();
    closed.clear();
    bool closeSeen = false;
    QObject::connect(window.get(), &frmMain::closeRequested, [&] { closeSeen = true; });
    window->mnuExit_Click();
    EXPECT_TRUE(closeSeen);
    EXPECT_EQ(closed, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(module.Registry, nullptr);
    CRegistry reg(box.file(QStringLiteral("settings.reg")));
    const QString key = QStringLiteral("SOFTWARE\\VARNO\\Settings");
    EXPECT_EQ(reg.ReadRegString(Hive::HKEY_LOCAL_MACHINE, key, "TTYPE"), QStringLiteral("VGA"));
    EXPECT_EQ(reg.ReadRegWord(Hive::HKEY_LOCAL_MACHINE, key, "wm5colors"), -1);
}

TEST_F(NewTheme, ThemeNameKeepsOnlyAcceptedCharacters)
{
    window->setThemeName(QStringLiteral("Blue/Wave? v2, final"));
    EXPECT_EQ(module.Doc.ThemeName, QStringLiteral("BlueWave v2 final"));
    EXPECT_EQ(window->view().themeNameText, QStringLiteral("BlueWave v2 final"));
}

TEST_F(NewThemeDrawn, ThePreviewFollowsTheProfile)
{
    EXPECT_EQ(screen.screen().LEADTheme.height(), 320);
    EXPECT_EQ(module.Doc.LEADMain.width(), 640);

    window->mnuNewSQ240_Click();
    EXPECT_EQ(screen.screen().LEADTheme.height(), 240);
    module.Doc.Colours.Menu = {77, RGB(1, 2, 3), true};
    window->DoScreenMain("MENU");
    EXPECT_TRUE(window->view().menuShowing);
    EXPECT_EQ(window->view().sliderTransparency, 77);
    EXPECT_EQ(window->view().transparencySwatch, RGB(1, 2, 3));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(NewThemeDrawn, CaptureButtonChoosesTheKind)
{
    const struct {
        int button;
        QSize size;
        bool menu;
    } cases[] = {{0, {240, 320}, false},
                 {1, {120, 160}, false},
                 {2, {240, 320}, true},
                 {3, {320, 240}, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        window->btnCapture_Click(c.button);
        prompt.answerFile(box.file(QStringLiteral("shot.jpg")));
        window->btnScreenCapture_Click();
        EXPECT_EQ(QImage(box.file(QStringLiteral("shot.jpg"))).size(), c.size);
        EXPECT_EQ(window->view().menuShowing, c.menu);
    }
    EXPECT_EQ(module.Settings.CapturePath, box.path() + "/");
    EXPECT_EQ(module.Doc.CurrentThemeName, QStringLiteral("shot"));
    EXPECT_TRUE(prompt.messages().empty());
}
