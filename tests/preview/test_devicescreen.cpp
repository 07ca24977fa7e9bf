// Pixel probes of the simulated screen: where each element lands and in
// which colour, away from text whose glyphs depend on the font.
#include "colour/colortable.h"
#include "preview/devicescreen.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

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
        EXPECT_EQ(portrait().pixel(17, 27), rgb(17, 0, 0));
        // The command bar: a black top line, then its colour.
        EXPECT_EQ(portrait().pixel(200, p.barTop), rgb(0, 0, 0));
        EXPECT_EQ(portrait().pixel(200, p.barTop + 1), rgb(5, 6, 7));
    }
}

TEST_F(DeviceScreenTest, TodayOverlayBlendsUnderTheBars)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 0));
    doc.colours.main = {130, rgb(255, 255, 255), true};
    draw("MAIN");
    EXPECT_EQ(portrait().pixel(120, 200), rgb(130, 130, 130));
    EXPECT_EQ(landscape().pixel(300, 100), rgb(130, 130, 130));
    EXPECT_EQ(portrait().pixel(200, 300), doc.colours.colors[CommandBar]);
}

// Each mode drops more: meetings go with "notm" kept, tasks with "notmm".
TEST_F(DeviceScreenTest, TodayItemsByMode)
{
    flatPicture(rgb(0, 0, 0));
    doc.colours.colors[TodayLines] = rgb(0, 255, 255);
    const struct {
        const char *mode;
        bool line49, line79, line136;
    } modes[] = {{"all", true, true, true},
                 {"notm", true, true, false},
                 {"notmm", true, false, false},
                 {"none", false, false, false}};
    for (const auto &m : modes) {
        SCOPED_TRACE(m.mode);
        settings.todayText = m.mode;
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(239, 49) == rgb(0, 255, 255), m.line49);
        EXPECT_EQ(portrait().pixel(239, 79) == rgb(0, 255, 255), m.line79);
        EXPECT_EQ(portrait().pixel(239, 136) == rgb(0, 255, 255), m.line136);
    }
}

TEST_F(DeviceScreenTest, SquareLandscapeKeptButRefreshedByLoadDefault)
{
    doc.themeType = "SQ240";
    screen.showDefaultScreen();
    const Raster before = landscape();
    doc.colours.colors[CommandBar] = rgb(1, 2, 3);
    draw("MAIN", "SQ240");
    EXPECT_TRUE(landscape().samePixels(before));
    EXPECT_EQ(portrait().pixel(230, 235), rgb(1, 2, 3));
}

TEST_F(DeviceScreenTest, VgaPicturesAreHalvedAndLandscapeBarsWiden)
{
    settings.todayText = "none";
    doc.todayPicture = Raster(640, 588);
    doc.todayPicture.fill(rgb(0, 0, 255));
    doc.todayPicture.selectRect(0, 0, 320, 588);
    doc.todayPicture.fill(rgb(255, 0, 0));
    doc.todayPicture.clearSelection();
    doc.colours.colors[NavBarLeft] = rgb(0, 0, 0);
    doc.colours.colors[NavBarRight] = rgb(240, 0, 0);
    doc.colours.colors[CommandBar] = rgb(5, 6, 7);
    draw("MAIN", "VGA");
    EXPECT_EQ(portrait().pixel(100, 200), rgb(255, 0, 0));
    EXPECT_EQ(landscape().pixel(300, 216), rgb(0, 0, 0));
    EXPECT_EQ(landscape().pixel(300, 239), rgb(5, 6, 7));
    EXPECT_EQ(landscape().pixel(319, 27), rgb(239, 0, 0));  // 320 columns: 0.75 a step
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
    EXPECT_EQ(screen.overlaySwatch, rgb(0, 0, 99));
    draw("MAIN");
    EXPECT_FALSE(screen.menuShowing);
}
