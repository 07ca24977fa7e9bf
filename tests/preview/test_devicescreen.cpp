// Pixel probes of the simulated screen: where each element lands and in
// which colour, away from text whose glyphs depend on the font.
#include "colour/ccolors.h"
#include "colour/colortable.h"
#include "colour/colourfunctions.h"
#include "preview/devicescreen.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

Colour brightened(Colour c, double p)
{
    CColors cc;
    cc.setRGBColor(c);
    cc.Brighten(static_cast<float>(p));
    return cc.RGBColor();
}

class Screen : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.Colours.Colors = DefaultThemeColors();
        settings.TodayText = "all";
        settings.Name1 = "Owner";
        screen.clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(10, 30)); };
    }
    // A main picture in one colour, as a fitted theme would hold it.
    void flatPicture(Colour c)
    {
        doc.LEADMain = Raster(640, 588);
        doc.LEADMain.fill(c);
        doc.LEADMenu = doc.LEADMain;
    }
    void draw(const QString &view, const QString &type = "QVGA", bool wm5 = false)
    {
        doc.ThemeType = type;
        doc.Wm5Theme = wm5;
        screen.DoScreenMain(view);
        ASSERT_TRUE(prompt.messages().empty()) << prompt.messages()[0].text.toStdString();
    }
    const Raster &portrait() const { return screen.LEADTheme; }
    const Raster &landscape() const { return screen.LEADLandscape; }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    DeviceScreen screen{prompt, doc, settings};
};

}  // namespace

TEST_F(Screen, TitleGradientAndCommandBarRows)
{
    flatPicture(RGB(10, 20, 30));
    doc.Colours.Colors[NavBarLeft] = RGB(0, 0, 0);
    doc.Colours.Colors[NavBarRight] = RGB(240, 0, 0);
    doc.Colours.Colors[CommandBar] = RGB(5, 6, 7);
    const struct {
        const char *type;
        int height, barTop;
    } profiles[] = {{"QVGA", 320, 296}, {"SQ240", 240, 214}};
    for (const auto &p : profiles) {
        SCOPED_TRACE(p.type);
        draw("MAIN", p.type);
        ASSERT_EQ(portrait().height(), p.height);
        // Row 27 lies below the title overlay: the bare ramp, column x red x.
        for (const int x : {0, 17, 120, 239})
            EXPECT_EQ(portrait().pixel(x, 27), RGB(x, 0, 0)) << x;
        // The command bar: a black top line, then its colour.
        EXPECT_EQ(portrait().pixel(200, p.barTop), RGB(0, 0, 0));
        EXPECT_EQ(portrait().pixel(200, p.barTop + 1), RGB(5, 6, 7));
        EXPECT_EQ(portrait().pixel(200, p.barTop - 1), RGB(10, 20, 30));
    }
    draw("MAIN", "VGA");
    EXPECT_EQ(landscape().pixel(300, 216), RGB(0, 0, 0));
    EXPECT_EQ(landscape().pixel(300, 239), RGB(5, 6, 7));
    EXPECT_EQ(landscape().pixel(319, 27), RGB(239, 0, 0));  // 320 columns: 0.75 a step
}

TEST_F(Screen, Wm5EdgeAndCommandBarFollowTheBaseHue)
{
    flatPicture(RGB(0, 0, 0));
    const Colour base = RGB(54, 83, 178);
    for (const int index : {417, 100}) {
        SCOPED_TRACE(index);
        doc.Colours.Colors.BaseHueIndex = index;
        draw("MAIN", "QVGA", true);
        const auto shade = [&](Colour c) { return index < 256 ? GreyOfMax(c) : c; };
        // Title edge rows 26-27 brighten 0.8 % a column towards the middle.
        EXPECT_EQ(portrait().pixel(0, 26), shade(base));
        EXPECT_EQ(portrait().pixel(10, 27), shade(brightened(base, 10 * 0.008)));
        EXPECT_EQ(portrait().pixel(230, 26), shade(brightened(base, 10 * 0.008)));
        // Command bar: the ramp of 0.5 % steps; column 200 is i = 40 from the
        // right edge. Row 319 is below the labels.
        EXPECT_EQ(portrait().pixel(200, 319), shade(brightened(base, 40 * 0.005)));
    }
}

TEST_F(Screen, TodayOverlayBlendsUnderTheBars)
{
    settings.TodayText = "none";
    flatPicture(RGB(0, 0, 0));
    const struct {
        int level;
        Colour want;
    } levels[] = {{0, RGB(0, 0, 0)}, {130, RGB(130, 130, 130)}, {255, RGB(255, 255, 255)}};
    for (const auto &l : levels) {
        SCOPED_TRACE(l.level);
        doc.Colours.Main = {static_cast<int16_t>(l.level), RGB(255, 255, 255), true};
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(120, 200), l.want);
        EXPECT_EQ(landscape().pixel(300, 100), l.want);
        EXPECT_EQ(portrait().pixel(200, 300), doc.Colours.Colors[CommandBar]);
        EXPECT_EQ(screen.SliderValue, l.level);
    }
}

TEST_F(Screen, TodayItemsByMode)
{
    flatPicture(RGB(0, 0, 0));
    doc.Colours.Colors[TodayLines] = RGB(0, 255, 255);
    const struct {
        const char *mode;
        bool line49, line79, line136;
    } modes[] = {{"all", true, true, true},
                 {"notm", true, true, false},
                 {"notmm", true, false, false},
                 {"none", false, false, false}};
    for (const auto &m : modes) {
        SCOPED_TRACE(m.mode);
        settings.TodayText = m.mode;
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(239, 49) == RGB(0, 255, 255), m.line49);
        EXPECT_EQ(portrait().pixel(239, 79) == RGB(0, 255, 255), m.line79);
        EXPECT_EQ(portrait().pixel(239, 136) == RGB(0, 255, 255), m.line136);
        EXPECT_EQ(landscape().pixel(319, 157) == RGB(0, 255, 255), m.line136);
        // Icons sit in the left 20 columns; with none nothing covers the picture.
        bool iconPixels = false;
        for (int y = 28; y < 28 + 177; ++y)
            for (int x = 0; x < 20; ++x)
                iconPixels = iconPixels || portrait().pixel(x, y) != RGB(0, 0, 0);
        EXPECT_EQ(iconPixels, QLatin1String(m.mode) != "none");
    }
}

TEST_F(Screen, LandscapeKeptForStandardAndSquareButRefreshedByLoadDefault)
{
    for (const char *type : {"STD", "SQ240"}) {
        SCOPED_TRACE(type);
        doc.ThemeType = type;
        screen.LoadDefault();
        const Raster before = landscape();
        EXPECT_EQ(screen.PortraitFrameHeight, QLatin1String(type) == "STD" ? 322 : 242);
        doc.Colours.Colors[CommandBar] = RGB(1, 2, 3);
        draw("MAIN", type);
        EXPECT_TRUE(landscape().samePixels(before));
        EXPECT_EQ(portrait().pixel(230, portrait().height() - 5), RGB(1, 2, 3));
        doc.Colours.Colors = DefaultThemeColors();
    }
}

TEST_F(Screen, VgaPicturesAreHalved)
{
    settings.TodayText = "none";
    doc.LEADMain = Raster(640, 588);
    doc.LEADMain.fill(RGB(0, 0, 255));
    doc.LEADMain.selectRect(0, 0, 320, 588);
    doc.LEADMain.fill(RGB(255, 0, 0));
    doc.LEADMain.clearSelection();
    draw("MAIN", "VGA");
    EXPECT_EQ(portrait().pixel(100, 200), RGB(255, 0, 0));
    EXPECT_EQ(portrait().pixel(200, 200), RGB(0, 0, 255));
    EXPECT_EQ(landscape().pixel(310, 200), RGB(0, 0, 255));
}

TEST_F(Screen, TrayNeverTakesTheKeyColour)
{
    flatPicture(RGB(0, 0, 0));
    doc.Colours.Colors[NavTray] = RGB(0, 255, 0);
    draw("MAIN");
    const Colour titleLeft = portrait().pixel(100, 20), titleRight = portrait().pixel(200, 20);
    draw("NAVIGATION");
    EXPECT_EQ(doc.Colours.Colors[NavTray], RGB(1, 255, 0));
    // Rows 26-48 are the tray bar; somewhere in it is the tray colour.
    bool trayShown = false;
    for (int x = 0; x < 240; ++x)
        trayShown = trayShown || portrait().pixel(x, 40) == RGB(1, 255, 0);
    EXPECT_TRUE(trayShown);
    // Around the notification tab the title bar shows through.
    EXPECT_EQ(portrait().pixel(100, 20), titleLeft);
    EXPECT_EQ(portrait().pixel(200, 20), titleRight);
}

TEST_F(Screen, MessageBoxesSpanTheirColumns)
{
    flatPicture(RGB(0, 0, 0));
    settings.TodayText = "none";
    doc.Colours.Colors[MessageBarLeft] = RGB(9, 99, 199);
    doc.Colours.Colors[MessageBarRight] = RGB(9, 99, 199);
    draw("MESSAGE");
    // The volume box spans x 119-193 below the title bar; the header keeps
    // the gradient.
    EXPECT_EQ(portrait().pixel(118, 150), RGB(0, 0, 0));
    EXPECT_NE(portrait().pixel(119, 150), RGB(0, 0, 0));
    EXPECT_NE(portrait().pixel(193, 150), RGB(0, 0, 0));
    EXPECT_EQ(portrait().pixel(194, 150), RGB(0, 0, 0));
    EXPECT_EQ(portrait().pixel(119 + 40, 28 + 28), RGB(9, 99, 199));
    EXPECT_EQ(landscape().pixel(199 + 40, 28 + 28), RGB(9, 99, 199));
    EXPECT_EQ(landscape().pixel(198, 150), RGB(0, 0, 0));

    doc.Colours.Colors[ImpMessageBarLeft] = RGB(200, 1, 1);
    doc.Colours.Colors[ImpMessageBarRight] = RGB(200, 1, 1);
    draw("MESSAGEIMP");
    EXPECT_EQ(portrait().pixel(9 + 150, 28 + 20), RGB(200, 1, 1));
    EXPECT_EQ(portrait().pixel(8, 60), RGB(0, 0, 0));
}

TEST_F(Screen, MenuPanelShowsPictureOverlayAndWhiteBase)
{
    settings.TodayText = "none";
    flatPicture(RGB(0, 0, 0));
    doc.LEADMenu = Raster(100, 100);
    doc.LEADMenu.fill(RGB(200, 0, 0));
    draw("MENU");
    EXPECT_TRUE(screen.MenuShowing);
    // Left of the names the picture shows; beyond it the white base.
    EXPECT_EQ(portrait().pixel(90, 28 + 22), RGB(200, 0, 0));
    EXPECT_EQ(portrait().pixel(140, 28 + 200), RGB(255, 255, 255));
    // The panel is 150 wide: the Today screen is next to it.
    EXPECT_EQ(portrait().pixel(160, 200), RGB(0, 0, 0));

    doc.Colours.Menu = {255, RGB(0, 0, 99), true};
    draw("MENU");
    EXPECT_EQ(portrait().pixel(140, 28 + 200), RGB(0, 0, 99));
    EXPECT_EQ(landscape().pixel(140, 28 + 150), RGB(0, 0, 99));
    EXPECT_EQ(screen.SliderValue, 255);
    EXPECT_EQ(screen.SwatchColour, RGB(0, 0, 99));
    draw("MAIN");
    EXPECT_FALSE(screen.MenuShowing);
}
