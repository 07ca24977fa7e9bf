// The colour commands of the main window: what each stores, what it asks
// the preview to redraw, and the one-level undo.
#include "colour/colortable.h"
#include "editortest.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

class ColourCommands : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        screen.requests.clear();
    }
    int menuItem(const char *menu)
    {
        const auto items = ColourElements();
        for (size_t i = 0; i < items.size(); ++i)
            if (QLatin1String(items[i].Menu) == QLatin1String(menu))
                return static_cast<int>(i);
        return -1;
    }
};

}  // namespace

TEST_F(ColourCommands, EachDialogIndexStoresItsSlotsAndRedrawsItsView)
{
    const struct {
        int index;
        std::vector<int> targets;
        const char *view;
    } cases[] = {{0, {NavBarLeft}, "MAIN"},
                 {5, {CommandBar}, "MAIN"},
                 {6, {NavTray, NavTray2, NavTray3}, "NAVIGATION"},
                 {7, {MessageBarLeft}, "MESSAGE"},
                 {8, {MessageBarRight}, "MESSAGE"},
                 {9, {ImpMessageBarLeft}, "MESSAGEIMP"},
                 {10, {ImpMessageBarRight}, "MESSAGEIMP"},
                 {11, {DialogText}, "MESSAGE"},
                 {12, {MenuText}, "MENU"},
                 {15, {ImpDialogText}, "MESSAGEIMP"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        colours() = DefaultThemeColors();
        screen.requests.clear();
        prompt.answerColor(RGB(1, 2, 3));
        window->GetColor(static_cast<int16_t>(c.index));
        EXPECT_EQ(prompt.calls().back().initialColour,
                  uint32_t(DefaultThemeColors()[c.targets.front()]));
        EXPECT_TRUE(prompt.calls().back().fullOpen);
        ThemeColors want = DefaultThemeColors();
        for (const int slot : c.targets)
            want[slot] = RGB(1, 2, 3);
        EXPECT_EQ(colours(), want);
        EXPECT_EQ(screen.requests, QStringList{QStringLiteral("DoScreenMain ") + c.view});
    }
    // Indexes without an element store nothing and redraw nothing.
    screen.requests.clear();
    window->GetColor(13);
    EXPECT_TRUE(screen.requests.isEmpty());
}

TEST_F(ColourCommands, TrayKeyColourAndCancelledDialog)
{
    prompt.answerColor(RGB(0, 255, 0));
    window->GetColor(6);
    EXPECT_EQ(colours()[NavTray], RGB(1, 255, 0));
    EXPECT_EQ(colours()[NavTray3], RGB(1, 255, 0));

    // A cancelled dialog changes nothing, but moves the undo point.
    const ThemeColors before = colours();
    prompt.cancelColor();
    window->GetColor(0);
    EXPECT_EQ(colours(), before);
    EXPECT_TRUE(prompt.messages().empty());
    colours()[CommandBar] = RGB(9, 9, 9);
    window->btnUndoLast_Click();
    EXPECT_EQ(colours(), before);
    window->btnUndoLast_Click();  // undo repeats the same point
    EXPECT_EQ(colours(), before);
}

TEST_F(ColourCommands, PickerModeArmsAPickThatFollowsTheHeadings)
{
    window->mnuUseColorPicker_Click();
    EXPECT_TRUE(window->view().useColorPickerChecked);
    module.Settings.Headings = "opposite";
    const Colour right = colours()[NavBarRight];
    window->ElementMenu_Click(menuItem("mnuLeftNavigationBar"));
    EXPECT_TRUE(window->view().pickerCursor);
    EXPECT_EQ(window->PendingElement, QStringLiteral("LEFT"));
    EXPECT_TRUE(prompt.calls().empty());
    screen.previewColour = RGB(7, 8, 9);
    window->LEADTheme_MouseUp(100, 100);
    EXPECT_FALSE(window->view().pickerCursor);
    EXPECT_EQ(colours()[NavBarLeft], RGB(7, 8, 9));
    EXPECT_EQ(colours()[MessageBarRight], RGB(7, 8, 9));
    EXPECT_EQ(colours()[MessageBarLeft], right);

    // A picked tray colour is stored as it is, in the first tray slot only.
    window->ElementMenu_Click(menuItem("mnuNavigationTray"));
    screen.previewColour = RGB(0, 255, 0);
    window->LEADTheme_MouseUp(100, 100);
    EXPECT_EQ(colours()[NavTray], RGB(0, 255, 0));
    EXPECT_EQ(colours()[NavTray2], DefaultThemeColors()[NavTray2]);
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain NAVIGATION"));

    // Without picker mode the same menu opens the dialog and leaves the
    // message bars alone.
    window->mnuUseColorPicker_Click();
    prompt.answerColor(RGB(5, 5, 5));
    const ThemeColors before = colours();
    window->ElementMenu_Click(menuItem("mnuLeftNavigationBar"));
    EXPECT_EQ(colours()[NavBarLeft], RGB(5, 5, 5));
    EXPECT_EQ(colours()[MessageBarRight], before[MessageBarRight]);
}

TEST_F(ColourCommands, ElementListButton)
{
    window->btnGetColor_Click();
    EXPECT_TRUE(prompt.calls().empty());
    const struct {
        int entry;
        int slot;
        const char *view;
    } cases[] = {{11, MenuText, "MENU"}, {12, DialogText, "MESSAGE"}, {2, NavBarText, "MAIN"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry);
        window->setColourListIndex(c.entry);
        prompt.answerColor(RGB(4, 4, 4));
        window->btnGetColor_Click();
        EXPECT_EQ(colours()[c.slot], RGB(4, 4, 4));
        EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain ") + c.view);
    }
}

TEST_F(ColourCommands, ResetSwapMessageBarsAndOverlays)
{
    colours()[NavBarLeft] = RGB(1, 1, 1);
    colours()[NavBarRight] = RGB(2, 2, 2);
    window->mnuSwapNavColors_Click();
    EXPECT_EQ(colours()[NavBarLeft], RGB(2, 2, 2));
    window->mnuMessagebarNavbar_Click();
    EXPECT_EQ(colours()[MessageBarLeft], RGB(2, 2, 2));
    EXPECT_EQ(colours()[MessageBarRight], RGB(1, 1, 1));
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MESSAGE"));

    // The slider and the swatch act on the Today overlay while the menu is
    // not shown.
    prompt.answerColor(RGB(0, 0, 200));
    window->btnTransparencyColor_Click();
    window->sliderTransparency_Change(99.5);
    EXPECT_EQ(module.Doc.Colours.Main, (TransparencyOverlay{100, RGB(0, 0, 200), true}));
    prompt.cancelColor();
    window->btnTransparencyColor_Click();
    EXPECT_EQ(window->view().transparencySwatch, RGB(0, 0, 200));

    colours().BaseHueIndex = 3;
    window->mnuResetColors_Click();
    EXPECT_EQ(colours(), DefaultThemeColors());
    EXPECT_EQ(module.Doc.Colours.Main, (TransparencyOverlay{0, RGB(255, 255, 255), true}));
    EXPECT_EQ(window->view().sliderTransparency, 0);
    EXPECT_EQ(window->view().transparencySwatch, RGB(255, 255, 255));
    EXPECT_TRUE(prompt.messages().empty());
}
