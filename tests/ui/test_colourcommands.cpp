// The colour commands of the main window: what each stores, what it asks
// the preview to redraw, and the one-level undo.
#include "colour/colortable.h"
#include "editortest.h"

using namespace varno;

using ColourCommands = varno::test::EditorTest<RecordingScreen>;

TEST_F(ColourCommands, EachDialogIndexStoresItsSlotsAndRedrawsItsView)
{
    const struct {
        int index;
        std::vector<int> targets;
        const char *view;
    } cases[] = {{0, {NavBarLeft}, "MAIN"},
                 {6, {NavTray, NavTray2, NavTray3}, "NAVIGATION"},
                 {9, {ImpMessageBarLeft}, "MESSAGEIMP"},
                 {11, {DialogText}, "MESSAGE"},
                 {12, {MenuText}, "MENU"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        colours() = defaultThemeColors();
        screen.requests.clear();
        prompt.answerColor(rgb(1, 2, 3));
        window->chooseElementColour(static_cast<int16_t>(c.index));
        EXPECT_EQ(prompt.calls().back().initialColour,
                  uint32_t(defaultThemeColors()[c.targets.front()]));
        ThemeColors want = defaultThemeColors();
        for (const int slot : c.targets)
            want[slot] = rgb(1, 2, 3);
        EXPECT_EQ(colours(), want);
        EXPECT_EQ(screen.requests, QStringList{QStringLiteral("DoScreenMain ") + c.view});
    }
    // Indexes without an element store nothing and redraw nothing.
    screen.requests.clear();
    window->chooseElementColour(13);
    EXPECT_TRUE(screen.requests.isEmpty());
}

// A cancelled dialog changes nothing, but moves the undo point. Undo goes
// back to it once: a reset after it gives the defaults again.
TEST_F(ColourCommands, CancelledDialogMovesTheUndoPoint)
{
    colours()[NavBarRight] = rgb(7, 7, 7);
    colours().baseHueIndex = 3;
    const ThemeColors before = colours();
    prompt.cancelColor();
    window->chooseElementColour(0);
    EXPECT_EQ(colours(), before);
    EXPECT_TRUE(prompt.messages().empty());
    colours()[CommandBar] = rgb(9, 9, 9);
    window->undoColours();
    EXPECT_EQ(colours(), before);
    window->resetColours();
    EXPECT_EQ(colours(), defaultThemeColors());
}

TEST_F(ColourCommands, ResetSwapMessageBarsAndOverlays)
{
    colours()[NavBarLeft] = rgb(1, 1, 1);
    colours()[NavBarRight] = rgb(2, 2, 2);
    window->swapNavigationColours();
    window->copyNavigationToMessageBars();
    EXPECT_EQ(colours()[MessageBarLeft], rgb(2, 2, 2));
    EXPECT_EQ(colours()[MessageBarRight], rgb(1, 1, 1));
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MESSAGE"));

    // The slider and the swatch act on the Today overlay while the menu is
    // not shown.
    prompt.answerColor(rgb(0, 0, 200));
    window->chooseOverlayColour();
    window->setOverlayLevel(99.5);
    EXPECT_EQ(module.doc.colours.main, (TransparencyOverlay{100, rgb(0, 0, 200), true}));

    module.doc.colours.menu = {50, rgb(1, 1, 1), false};
    window->resetColours();
    EXPECT_EQ(colours(), defaultThemeColors());
    EXPECT_EQ(module.doc.colours.main, (TransparencyOverlay{0, rgb(255, 255, 255), true}));
    EXPECT_EQ(module.doc.colours.menu, (TransparencyOverlay{0, rgb(255, 255, 255), false}));
    EXPECT_EQ(window->view().overlayLevel, 0);
    EXPECT_EQ(window->view().overlaySwatch, rgb(255, 255, 255));
}
