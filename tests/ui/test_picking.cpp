// Clicks on the previews: which element each zone selects, the zone borders
// that select nothing, the view toggles, WM5 bars and picker mode.
#include "colour/colortable.h"
#include "editortest.h"

using namespace varno;

namespace {

class Picking : public varno::test::EditorTest<RecordingScreen> {
protected:
    // In picker mode a selection only arms a pick, so the armed key names
    // the element a release selected without opening any dialog.
    QString armedBy(bool landscape, int x, int y)
    {
        const auto release = [&](int atX, int atY) {
            landscape ? window->releaseOnLandscape(atX, atY) : window->releaseOnPortrait(atX, atY);
        };
        module.usePicker = true;
        window->pendingElement.clear();
        release(x, y);
        const bool armed =
            landscape ? window->view().pickerCursorLandscape : window->view().pickerCursor;
        QString key = armed ? window->pendingElement : QString();
        if (armed)
            release(0, 0);  // disarm by taking the pick somewhere harmless
        return key;
    }
    void show(const char *view) { window->drawScreen(QString::fromLatin1(view)); }
};

struct ZoneCase {
    const char *name;
    bool landscape;
    const char *shown;  // view on screen before the release
    int x, y;
    const char *key;  // element armed, "" for none
};

const ZoneCase zoneCases[] = {
    // Portrait title bar, and the border columns between its zones.
    {"PortraitTitleText", false, "MAIN", 29, 10, "TITLEBARTEXT"},
    {"PortraitLeft", false, "MAIN", 57, 0, "LEFT"},
    {"PortraitRight", false, "MAIN", 121, 12, "RIGHT"},
    {"PortraitBorder56", false, "MAIN", 56, 12, ""},
    // Command bar from row 294.
    {"PortraitCommandBar", false, "MAIN", 100, 294, "COMMANDBAR"},
    {"PortraitAboveCommandBar", false, "MAIN", 100, 293, ""},
    // Today lines are single rows; one off is text or nothing.
    {"TodayLine47", false, "MAIN", 20, 47, "TODAYLINES"},
    {"TodayTextFirstBand", false, "MAIN", 31, 31, "TODAYTEXT"},
    // Message boxes, split into their left and right bars.
    {"MessageLeft", false, "MESSAGE", 149, 60, "MESSAGEBARLEFT"},
    {"MessageRight", false, "MESSAGE", 150, 60, "MESSAGEBARRIGHT"},
    {"ImpLeft", false, "MESSAGEIMP", 108, 50, "IMPMESSAGEBARLEFT"},
    // In picker mode the whole navigation view picks the tray.
    {"NavigationAnywhere", false, "NAVIGATION", 200, 250, "NAVIGATION"},
    // Landscape title bar and its border, and its command bar.
    {"LandscapeLeft", true, "MAIN", 159, 12, "LEFT"},
    {"LandscapeRight", true, "MAIN", 161, 12, "RIGHT"},
    {"LandscapeBorder160", true, "MAIN", 160, 12, ""},
    {"LandscapeCommandBar", true, "MAIN", 100, 216, "COMMANDBAR"},
};

class PickingZones : public Picking, public ::testing::WithParamInterface<ZoneCase> {};

}  // namespace

TEST_P(PickingZones, ReleaseSelectsTheZonesElement)
{
    const ZoneCase &c = GetParam();
    show(c.shown);
    EXPECT_EQ(armedBy(c.landscape, c.x, c.y), QString::fromLatin1(c.key));
}

INSTANTIATE_TEST_SUITE_P(Zones, PickingZones, ::testing::ValuesIn(zoneCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Picking, StartFlagAndTitleBarToggleTheirViews)
{
    show("MESSAGE");
    window->releaseOnPortrait(10, 10);
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MENU"));
    EXPECT_FALSE(window->view().messageShowing);
    window->releaseOnLandscape(27, 25);
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MAIN"));
    EXPECT_FALSE(window->view().menuShowing);

    for (const auto &[x, opens] : {std::pair{161, "MESSAGE"}, {141, "MESSAGEIMP"}}) {
        window->releaseOnPortrait(x, 5);
        EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain ") + opens);
        window->releaseOnPortrait(x, 5);
        EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MAIN"));
    }
    window->releaseOnLandscape(234, 5);
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MESSAGEIMP"));
    EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(Picking, ColourZoneOpensTheDialogAndTheBarsFollowTheHeadings)
{
    module.settings.headings = "same";
    prompt.answerColor(rgb(10, 20, 30));
    window->releaseOnPortrait(60, 10);
    EXPECT_EQ(colours()[NavBarLeft], rgb(10, 20, 30));
    EXPECT_EQ(colours()[MessageBarLeft], rgb(10, 20, 30));
    EXPECT_EQ(window->view().colourListIndex, 0);

    // The tray zone of the navigation view (not in picker mode: rows 27-49).
    window->drawScreen(QStringLiteral("NAVIGATION"));
    prompt.answerColor(rgb(0, 255, 0));
    window->releaseOnPortrait(200, 30);
    EXPECT_EQ(colours()[NavTray], rgb(1, 255, 0));  // never the key colour
}

TEST_F(Picking, WM5BarsOpenTheHuePickerInsteadOfTheColourDialog)
{
    window->newTheme(4);
    int hues = 0;
    window->showHuePicker = [&] { ++hues; };
    window->releaseOnPortrait(60, 10);
    window->releaseOnLandscape(100, 230);
    EXPECT_EQ(hues, 2);
    EXPECT_TRUE(prompt.calls().empty());
    // Today elements still use the colour dialog.
    prompt.answerColor(rgb(1, 2, 3));
    window->releaseOnPortrait(40, 100);
    EXPECT_EQ(colours()[TodayTextColor], rgb(1, 2, 3));
    // The menu command opens it too and redraws the view shown, for WM5
    // themes only.
    EXPECT_TRUE(window->view().baseHueEnabled);
    show("MENU");
    screen.requests.clear();
    window->chooseBaseHue();
    EXPECT_EQ(hues, 3);
    EXPECT_EQ(screen.requests, QStringList{"DoScreenMain MENU"});
    window->newTheme(1);
    EXPECT_FALSE(window->view().baseHueEnabled);
    window->chooseBaseHue();
    EXPECT_EQ(hues, 3);
}

TEST_F(Picking, ArmedPickTakesThePixelOnTheSamePreviewOnly)
{
    module.usePicker = true;
    window->drawScreen(QStringLiteral("NAVIGATION"));
    window->releaseOnPortrait(100, 200);
    // The landscape preview has no armed pick: it arms its own.
    window->releaseOnLandscape(100, 100);
    EXPECT_TRUE(window->view().pickerCursorLandscape);
    EXPECT_EQ(window->pendingElement, QStringLiteral("NAVIGATION"));

    screen.previewColour = rgb(0, 255, 0);
    screen.requests.clear();
    window->releaseOnPortrait(5, 5);  // on the Start flag, but the pick wins
    EXPECT_FALSE(window->view().pickerCursor);
    EXPECT_EQ(colours()[NavTray], rgb(0, 255, 0));
    EXPECT_EQ(screen.requests, QStringList{QStringLiteral("DoScreenMain NAVIGATION")});
    EXPECT_TRUE(prompt.calls().empty());
}

TEST_F(Picking, PointerNamesWhatAReleaseWouldActOnWithoutActing)
{
    show("MESSAGE");
    screen.requests.clear();
    EXPECT_EQ(window->elementAt(false, 5, 5), QStringLiteral("Start Menu"));
    EXPECT_EQ(window->elementAt(false, 160, 60), QStringLiteral("Message Bar Right"));
    EXPECT_EQ(window->elementAt(true, 28, 5), QString());
    EXPECT_TRUE(screen.requests.isEmpty());
}
