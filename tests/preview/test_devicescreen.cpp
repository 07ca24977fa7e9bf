// Pixel probes of the simulated screen: where each element lands and in
// which colour, away from text whose glyphs depend on the font.
#include "colour/hslcolour.h"
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
    HslColour cc;
    cc.setRgbColor(c);
    cc.brighten(static_cast<float>(p));
    return cc.rgbColor();
}

class DeviceScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.colours.colors = defaultThemeColors();
        settings.todayText = "all";
        settings.name1 = "Owner";
        screen.clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(10, 30)); };
    }
    // A main picture in one colour, as a fitted theme would hold it.
    void flatPicture(Colour c)
    {
        doc.todayPicture = Raster(640, 588);
        doc.todayPicture.fill(c);
        doc.menuPicture = doc.todayPicture;
    }
    void draw(const QString &view, const QString &type = "QVGA", bool wm5 = false)
    {
        doc.themeType = type;
        doc.wm5Theme = wm5;
        screen.drawScreen(view);
        ASSERT_TRUE(prompt.messages().empty()) << prompt.messages()[0].text.toStdString();
    }
    const Raster &portrait() const { return screen.portraitScreen; }
    const Raster &landscape() const { return screen.landscapeScreen; }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    DeviceScreen screen{prompt, doc, settings};
};

}  // namespace

TEST_F(DeviceScreenTest, TitleGradientAndCommandBarRows)
{
    flatPicture(rgb(10, 20, 30));
    doc.colours.colors[NavBarLeft] = rgb(0, 0, 0);
    doc.colours.colors[NavBarRight] = rgb(240, 0, 0);
    doc.colours.colors[CommandBar] = rgb(5, 6, 7);
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
            EXPECT_EQ(portrait().pixel(x, 27), rgb(x, 0, 0)) << x;
        // The command bar: a black top line, then its colour.
        EXPECT_EQ(portrait().pixel(200, p.barTop), rgb(0, 0, 0));
        EXPECT_EQ(portrait().pixel(200, p.barTop + 1), rgb(5, 6, 7));
        EXPECT_EQ(portrait().pixel(200, p.barTop - 1), rgb(10, 20, 30));
    }
    draw("MAIN", "VGA");
    EXPECT_EQ(landscape().pixel(300, 216), rgb(0, 0, 0));
    EXPECT_EQ(landscape().pixel(300, 239), rgb(5, 6, 7));
    EXPECT_EQ(landscape().pixel(319, 27), rgb(239, 0, 0));  // 320 columns: 0.75 a step
}

TEST_F(DeviceScreenTest, Wm5EdgeAndCommandBarFollowTheBaseHue)
{
    flatPicture(rgb(0, 0, 0));
    const Colour base = rgb(54, 83, 178);
    for (const int index : {417, 100}) {
        SCOPED_TRACE(index);
        doc.colours.colors.baseHueIndex = index;
        draw("MAIN", "QVGA", true);
        const auto shade = [&](Colour c) { return index < 256 ? greyOfMax(c) : c; };
        // Title edge rows 26-27 brighten 0.8 % a column towards the middle.
        EXPECT_EQ(portrait().pixel(0, 26), shade(base));
        EXPECT_EQ(portrait().pixel(10, 27), shade(brightened(base, 10 * 0.008)));
        EXPECT_EQ(portrait().pixel(230, 26), shade(brightened(base, 10 * 0.008)));
        // Command bar: the ramp of 0.5 % steps; column 200 is i = 40 from the
        // right edge. Row 319 is below the labels.
        EXPECT_EQ(portrait().pixel(200, 319), shade(brightened(base, 40 * 0.005)));
    }
}

TEST_F(DeviceScreenTest, TodayOverlayBlendsUnderTheBars)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 0));
    const struct {
        int level;
        Colour want;
    } levels[] = {{0, rgb(0, 0, 0)}, {130, rgb(130, 130, 130)}, {255, rgb(255, 255, 255)}};
    for (const auto &l : levels) {
        SCOPED_TRACE(l.level);
        doc.colours.main = {static_cast<int16_t>(l.level), rgb(255, 255, 255), true};
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(120, 200), l.want);
        EXPECT_EQ(landscape().pixel(300, 100), l.want);
        EXPECT_EQ(portrait().pixel(200, 300), doc.colours.colors[CommandBar]);
        EXPECT_EQ(screen.overlayLevel, l.level);
    }
}

// Each mode drops more: meetings go with "notm" kept, tasks with "notmm".
TEST_F(DeviceScreenTest, TodayItemsByMode)
{
    flatPicture(rgb(0, 0, 0));
    doc.colours.colors[TodayLines] = rgb(0, 255, 255);
    doc.colours.colors[TodayTextColor] = rgb(255, 255, 0);
    const struct {
        const char *mode;
        bool line49, line79, line136;
    } modes[] = {{"all", true, true, true},
                 {"notm", true, true, false},
                 {"notmm", true, false, false},
                 {"none", false, false, false}};
    int previousText = 240 * 320;
    for (const auto &m : modes) {
        SCOPED_TRACE(m.mode);
        settings.todayText = m.mode;
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(239, 49) == rgb(0, 255, 255), m.line49);
        EXPECT_EQ(portrait().pixel(239, 79) == rgb(0, 255, 255), m.line79);
        EXPECT_EQ(portrait().pixel(239, 136) == rgb(0, 255, 255), m.line136);
        // Icons sit in the left 20 columns, text to their right.
        int icon = 0, text = 0;
        for (int y = 28; y < 28 + 177; ++y)
            for (int x = 0; x < 240; ++x) {
                icon += x < 20 && portrait().pixel(x, y) != rgb(0, 0, 0);
                text += x >= 20 && portrait().pixel(x, y) == rgb(255, 255, 0);
            }
        EXPECT_EQ(icon > 0, QLatin1String(m.mode) != "none");
        EXPECT_LT(text, previousText);
        previousText = text;
    }
    EXPECT_EQ(previousText, 0);
}

TEST_F(DeviceScreenTest, LandscapeKeptForStandardAndSquareButRefreshedByLoadDefault)
{
    for (const char *type : {"STD", "SQ240"}) {
        SCOPED_TRACE(type);
        doc.themeType = type;
        screen.showDefaultScreen();
        const Raster before = landscape();
        EXPECT_EQ(screen.portraitFrameHeight, QLatin1String(type) == "STD" ? 322 : 242);
        doc.colours.colors[CommandBar] = rgb(1, 2, 3);
        draw("MAIN", type);
        EXPECT_TRUE(landscape().samePixels(before));
        EXPECT_EQ(portrait().pixel(230, portrait().height() - 5), rgb(1, 2, 3));
        doc.colours.colors = defaultThemeColors();
    }
}

TEST_F(DeviceScreenTest, VgaPicturesAreHalved)
{
    settings.todayText = "none";
    doc.todayPicture = Raster(640, 588);
    doc.todayPicture.fill(rgb(0, 0, 255));
    doc.todayPicture.selectRect(0, 0, 320, 588);
    doc.todayPicture.fill(rgb(255, 0, 0));
    doc.todayPicture.clearSelection();
    draw("MAIN", "VGA");
    EXPECT_EQ(portrait().pixel(100, 200), rgb(255, 0, 0));
    EXPECT_EQ(portrait().pixel(200, 200), rgb(0, 0, 255));
    EXPECT_EQ(landscape().pixel(310, 200), rgb(0, 0, 255));
}

TEST_F(DeviceScreenTest, TrayNeverTakesTheKeyColour)
{
    flatPicture(rgb(0, 0, 0));
    doc.colours.colors[NavTray] = rgb(0, 255, 0);
    draw("MAIN");
    const Colour titleLeft = portrait().pixel(100, 20), titleRight = portrait().pixel(200, 20);
    draw("NAVIGATION");
    EXPECT_EQ(doc.colours.colors[NavTray], rgb(1, 255, 0));
    // Rows 26-48 are the tray bar; somewhere in it is the tray colour.
    bool trayShown = false;
    for (int x = 0; x < 240; ++x)
        trayShown = trayShown || portrait().pixel(x, 40) == rgb(1, 255, 0);
    EXPECT_TRUE(trayShown);
    // Around the notification tab the title bar shows through.
    EXPECT_EQ(portrait().pixel(100, 20), titleLeft);
    EXPECT_EQ(portrait().pixel(200, 20), titleRight);
}

TEST_F(DeviceScreenTest, MenuPanelShowsPictureOverlayAndWhiteBase)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 0));
    doc.menuPicture = Raster(100, 100);
    doc.menuPicture.fill(rgb(200, 0, 0));
    draw("MENU");
    EXPECT_TRUE(screen.menuShowing);
    // Left of the names the picture shows; beyond it the white base.
    EXPECT_EQ(portrait().pixel(90, 28 + 22), rgb(200, 0, 0));
    EXPECT_EQ(portrait().pixel(140, 28 + 200), rgb(255, 255, 255));

    doc.colours.menu = {255, rgb(0, 0, 99), true};
    draw("MENU");
    EXPECT_EQ(portrait().pixel(140, 28 + 200), rgb(0, 0, 99));
    EXPECT_EQ(landscape().pixel(140, 28 + 150), rgb(0, 0, 99));
    EXPECT_EQ(screen.overlayLevel, 255);
    EXPECT_EQ(screen.overlaySwatch, rgb(0, 0, 99));
    draw("MAIN");
    EXPECT_FALSE(screen.menuShowing);
}
