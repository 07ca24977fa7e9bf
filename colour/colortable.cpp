// Colour table data: defaults and the element table, with the reset, undo
// and overlay procedures.
#include "colour/colortable.h"

#include <algorithm>

namespace varno {

namespace {

constexpr Colour White = rgb(255, 255, 255);

// In slot order.
constexpr Colour DefaultSlots[SlotCount] = {
    rgb(0, 128, 255),    // NavBarLeft
    rgb(0, 0, 160),      // NavBarRight
    rgb(255, 255, 255),  // NavBarText
    rgb(0, 0, 0),        // TodayTextColor
    rgb(0, 0, 0),        // TodayLines
    rgb(80, 168, 236),   // CommandBar
    rgb(255, 0, 0),      // NavTray
    rgb(255, 0, 0),      // NavTray2
    rgb(80, 80, 80),     // NavTray3
    rgb(0, 0, 160),      // MessageBarLeft
    rgb(0, 128, 255),    // MessageBarRight
    rgb(255, 255, 255),  // LineBLeft
    rgb(255, 255, 255),  // LineBRight
    rgb(255, 0, 0),      // ImpMessageBarLeft
    rgb(255, 128, 64),   // ImpMessageBarRight
    rgb(255, 255, 255),  // DialogText
    rgb(255, 255, 255),  // ImpDialogText
    rgb(255, 255, 255),  // LineALeft
    rgb(150, 150, 255),  // LineARight
    rgb(194, 6, 5),      // FixedColor
    rgb(0, 0, 0),        // MenuText
    rgb(0, 0, 247),      // DotsColor
};

constexpr const char *SlotNames[SlotCount] = {
    "NavBarLeft",      "NavBarRight",   "NavBarText", "TodayTextColor",    "TodayLines",
    "CommandBar",      "NavTray",       "NavTray2",   "NavTray3",          "MessageBarLeft",
    "MessageBarRight", "LineBLeft",     "LineBRight", "ImpMessageBarLeft", "ImpMessageBarRight",
    "DialogText",      "ImpDialogText", "LineALeft",  "LineARight",        "FixedColor",
    "MenuText",        "DotsColor"};

ThemeColors makeDefaults()
{
    ThemeColors t;
    for (int i = 0; i < SlotCount; ++i)
        t[i] = DefaultSlots[i];
    t.baseHueIndex = 417;
    t.baseHueColor = rgb(54, 83, 178);
    return t;
}

// NavTray2 and NavTray3 follow NavTray in the colour dialog and have no
// item; the internal line and dot colours have their own dialog.
constexpr ColourElement Elements[] = {
    {"LEFT", NavBarLeft, 0, "MAIN", "mnuLeftNavigationBar", "Left Navigation Bar", 0,
     "Left Navigation Bar"},
    {"RIGHT", NavBarRight, 1, "MAIN", "mnuRightNavigationBar", "Right Navigation Bar", 1,
     "Right Navigation Bar"},
    {"TITLEBARTEXT", NavBarText, 2, "MAIN", "mnuNavigationBarText", "Navigation Bar Text", 2,
     "Navigation Bar text"},
    {"TODAYTEXT", TodayTextColor, 3, "MAIN", "mnuTodayScreenText", "Today Screen Text", 3,
     "Today Screen Text"},
    {"TODAYLINES", TodayLines, 4, "MAIN", "mnuTodayScreenLines", "Today Screen Lines", 4,
     "Today Screen Lines"},
    {"COMMANDBAR", CommandBar, 5, "MAIN", "mnuCommandBar", "Command Bar", 5, "Command Bar"},
    {"NAVIGATION", NavTray, 6, "NAVIGATION", "mnuNavigationTray", "Navigation Tray", 6,
     "Navigation Tray"},
    {"MESSAGEBARLEFT", MessageBarLeft, 7, "MESSAGE", "mnuMessageBarLeft", "Message Bar Left", 7,
     "Message Bar Left"},
    {"MESSAGEBARRIGHT", MessageBarRight, 8, "MESSAGE", "mnuMessageBarRight", "Message Bar Right", 8,
     "Message Bar Right"},
    {"DIALOGTEXT", DialogText, 11, "MESSAGE", "mnuMessageBarText", "Message Bar Text", -1, nullptr},
    {"IMPMESSAGEBARLEFT", ImpMessageBarLeft, 9, "MESSAGEIMP", "mnuImportantMessageBarLeft",
     "Important Message Bar Left", 9, "Important Message Bar Left"},
    {"IMPMESSAGEBARRIGHT", ImpMessageBarRight, 10, "MESSAGEIMP", "mnuImportantMessageBarRight",
     "Important Message Bar Right", 10, "Important Message Bar Right"},
    {"IMPDIALOGTEXT", ImpDialogText, 15, "MESSAGEIMP", "mnuImportantMessageBarText",
     "Important Message Bar Text", -1, nullptr},
    {"MENUTEXT", MenuText, 12, "MENU", "mnuMenuText", "Menu Text", 11, "Menu Text"},
    {"DIALOGTEXT", DialogText, 11, "MESSAGE", "mnuDialogText", "Dialog Text", 12, "Dialog Text"},
};

}  // namespace

const ThemeColors &defaultThemeColors()
{
    static const ThemeColors defaults = makeDefaults();
    return defaults;
}

std::span<const ColourElement> colourElements()
{
    return Elements;
}

const ColourElement *elementByKey(const QString &key)
{
    const auto it =
        std::find_if(std::begin(Elements), std::end(Elements),
                     [&](const ColourElement &e) { return key == QLatin1String(e.key); });
    return it == std::end(Elements) ? nullptr : &*it;
}

const ColourElement *elementByDialogIndex(int index)
{
    const auto it = std::find_if(std::begin(Elements), std::end(Elements),
                                 [&](const ColourElement &e) { return e.dialogIndex == index; });
    return it == std::end(Elements) ? nullptr : &*it;
}

std::array<const ColourElement *, ColourListCount> colourListEntries()
{
    std::array<const ColourElement *, ColourListCount> list{};
    for (const ColourElement &e : Elements)
        if (e.listPosition >= 0)
            list.at(static_cast<size_t>(e.listPosition)) = &e;
    return list;
}

void restoreColors(ColourState &state)
{
    if (state.restoreFromSnapshot) {
        state.colors = state.colorSnapshot;
        state.restoreFromSnapshot = false;
    } else {
        state.colors = defaultThemeColors();
    }
    state.menu.color = White;
    state.main.color = White;
}

void saveColorSnapshot(ColourState &state)
{
    state.colorSnapshot = state.colors;
}

void resetMainTransparency(ColourState &state)
{
    state.main.level = 0;
    state.main.color = White;
    state.main.enabled = false;
}

void resetMenuTransparency(ColourState &state)
{
    state.menu.level = 0;
    state.menu.color = White;
    state.menu.enabled = false;
}

const char *slotName(int slot)
{
    return slot >= 0 && slot < SlotCount ? SlotNames[slot] : "";
}

int slotByName(const QString &name)
{
    for (int slot = 0; slot < SlotCount; ++slot)
        if (name.compare(QLatin1String(SlotNames[slot]), Qt::CaseInsensitive) == 0)
            return slot;
    return -1;
}

void followHeadings(ThemeColors &colours, const QString &headings)
{
    if (headings == QLatin1String("same")) {
        colours[MessageBarLeft] = colours[NavBarLeft];
        colours[MessageBarRight] = colours[NavBarRight];
    } else if (headings == QLatin1String("opposite")) {
        colours[MessageBarRight] = colours[NavBarLeft];
        colours[MessageBarLeft] = colours[NavBarRight];
    }
}

}  // namespace varno
