// Automatic colours from a flat preview, where every number can be
// worked out by hand.
#include "colour/autocolours.h"
#include "colour/colortable.h"
#include "colour/colourfunctions.h"
#include "support/scriptedprompt.h"

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

struct Scene {
    explicit Scene(Colour flat, bool wm5 = false, const QString &headings = "manual")
        : shown(240, 320)
    {
        shown.fill(flat);
        colours.colors = defaultThemeColors();
        data = std::make_unique<AutoColourScene>(AutoColourScene{
            [this](const QString &v) { redraws << v; },
            [this]() -> const Raster & { return shown; }, colours, wm5, headings, menuShowing});
    }
    Raster shown;
    ColourState colours;
    bool menuShowing = false;
    QStringList redraws;
    std::unique_ptr<AutoColourScene> data;
};

}  // namespace

TEST(AutoColours, FlatGreyPicture)
{
    ScriptedPrompt prompt;
    Scene s(rgb(100, 100, 100));
    autoColorAverage(prompt, *s.data);
    const ThemeColors &c = s.colours.colors;
    // 64,320 samples of 100 over 70,856 entries: 90.77, truncated to 90.
    EXPECT_EQ(c[CommandBar], rgb(90, 90, 90));
    EXPECT_EQ(s.colours.menu, (TransparencyOverlay{130, rgb(153, 153, 153), true}));
    EXPECT_TRUE(s.menuShowing);
    EXPECT_EQ(s.redraws, (QStringList{"MAIN", "MENU", "MENU"}));
    // Not a WM5 theme: the base hue and the message bars stay.
    EXPECT_EQ(c.baseHueIndex, 417);
    EXPECT_EQ(c[MessageBarLeft], defaultThemeColors()[MessageBarLeft]);
    EXPECT_EQ(c[TodayTextColor], rgb(255, 255, 255));  // 90 + 90 < 255

    // Nothing shown: nothing changes.
    Scene none(rgb(1, 2, 3));
    none.shown = Raster();
    autoColorAverage(prompt, *none.data);
    EXPECT_EQ(none.colours.colors, defaultThemeColors());
}

TEST(AutoColours, ChannelsClampAndHeadingsFollow)
{
    ScriptedPrompt prompt;
    // avg = (255 x 0.9077, 30 x 0.9077, 128 x 0.9077) = (231, 27, 116)
    Scene s(rgb(255, 30, 128), false, "opposite");
    autoColorAverage(prompt, *s.data);
    const ThemeColors &c = s.colours.colors;
    EXPECT_EQ(c[CommandBar], rgb(231, 27, 116));
    EXPECT_EQ(c[NavBarLeft], rgb(161, 0, 46));
    EXPECT_EQ(c[NavBarRight], rgb(255, 97, 186));
    EXPECT_EQ(c[MessageBarLeft], c[NavBarRight]);
    // 231 + 27 >= 255: black text.
    EXPECT_EQ(c[TodayTextColor], rgb(0, 0, 0));
}

TEST(AutoColours, Wm5BaseHueFromTheAverage)
{
    ScriptedPrompt prompt;
    // Yellow averages to (231, 231, 0): hue 40, not grey.
    Scene yellow(rgb(255, 255, 0), true);
    autoColorAverage(prompt, *yellow.data);
    EXPECT_EQ(yellow.colours.colors.baseHueIndex, 296);
    EXPECT_EQ(yellow.colours.colors.baseHueColor, hsvToRgb(40, 0.7f, 0.7f));

    // A grey average keeps its hue (160) as the index; t = nearest(160 / 256
    // x 40) = 25, so the colour is HSV(125, 0.6125, 0.6125).
    Scene grey(rgb(100, 100, 100), true);
    autoColorAverage(prompt, *grey.data);
    EXPECT_EQ(grey.colours.colors.baseHueIndex, 160);
    const float level = static_cast<float>(125 * 0.0049);
    EXPECT_EQ(grey.colours.colors.baseHueColor, hsvToRgb(125, level, level));
}
