// Colour table: reset and undo over a ColourState, and the element table
// checked against what GetColor, picking and the element list rely on.
#include "colour/colortable.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using namespace varno;

namespace {

constexpr Colour White = RGB(255, 255, 255);

// A state in which nothing is at its default.
ColourState scribbled()
{
    ColourState s;
    for (int i = 0; i < SlotCount; ++i)
        s.Colors[i] = RGB(i, 2 * i, 3 * i);
    s.Colors.BaseHueIndex = 3;
    s.ColorSnapshot = s.Colors;
    s.ColorSnapshot[NavBarLeft] = RGB(9, 9, 9);
    s.ColorSnapshot.BaseHueColor = RGB(1, 2, 3);
    s.Main = {77, RGB(1, 1, 1), true};
    s.Menu = {88, RGB(2, 2, 2), false};
    return s;
}

}  // namespace

TEST(RestoreColors, ResetUndoAndSnapshot)
{
    // Reset: defaults and white overlay colours; levels and on-flags stay.
    ColourState s = scribbled();
    RestoreColors(s);
    EXPECT_EQ(s.Colors, DefaultThemeColors());
    EXPECT_EQ(s.Colors.BaseHueIndex, 417);
    EXPECT_EQ(s.Colors.BaseHueColor, RGB(54, 83, 178));
    EXPECT_EQ(s.Main, (TransparencyOverlay{77, White, true}));
    EXPECT_EQ(s.Menu, (TransparencyOverlay{88, White, false}));

    // Undo returns to the snapshot, as often as asked, then clears the flag.
    s = scribbled();
    for (int round = 0; round < 2; ++round) {
        s.Colors[CommandBar] = RGB(5, 5, 5);
        s.Main.Color = s.Menu.Color = 0;
        s.RestoreFromSnapshot = true;
        RestoreColors(s);
        EXPECT_EQ(s.Colors, scribbled().ColorSnapshot);
        EXPECT_FALSE(s.RestoreFromSnapshot);
        EXPECT_EQ(s.Main.Color, White);
        EXPECT_EQ(s.Menu.Color, White);
    }

    // The snapshot takes the slots and the base hue.
    s = scribbled();
    SaveColorSnapshot(s);
    s.Colors = DefaultThemeColors();
    s.RestoreFromSnapshot = true;
    RestoreColors(s);
    EXPECT_EQ(s.Colors, scribbled().Colors);
}

TEST(ResetTransparency, EachResetsOnlyItsOwnOverlay)
{
    ColourState s = scribbled();
    ResetMainTransparency(s);
    EXPECT_EQ(s.Main, (TransparencyOverlay{0, White, false}));
    EXPECT_EQ(s.Menu, scribbled().Menu);
    ResetMenuTransparency(s);
    EXPECT_EQ(s.Menu, (TransparencyOverlay{0, White, false}));
}

TEST(ColourElements, DialogIndexAndPickedKeyAgree)
{
    // GetColor: dialog index -> slot and redraw; picking: key -> the same.
    const struct {
        int index;
        const char *key;
        int slot;
        const char *view;
    } cases[] = {
        {0, "LEFT", 0, "MAIN"},
        {1, "RIGHT", 1, "MAIN"},
        {2, "TITLEBARTEXT", 2, "MAIN"},
        {3, "TODAYTEXT", 3, "MAIN"},
        {4, "TODAYLINES", 4, "MAIN"},
        {5, "COMMANDBAR", 5, "MAIN"},
        {6, "NAVIGATION", 6, "NAVIGATION"},
        {7, "MESSAGEBARLEFT", 9, "MESSAGE"},
        {8, "MESSAGEBARRIGHT", 10, "MESSAGE"},
        {9, "IMPMESSAGEBARLEFT", 13, "MESSAGEIMP"},
        {10, "IMPMESSAGEBARRIGHT", 14, "MESSAGEIMP"},
        {11, "DIALOGTEXT", 15, "MESSAGE"},
        {12, "MENUTEXT", 20, "MENU"},
        {15, "IMPDIALOGTEXT", 16, "MESSAGEIMP"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        const ColourElement *byIndex = elementByDialogIndex(c.index);
        const ColourElement *byKey = elementByKey(QLatin1String(c.key));
        ASSERT_TRUE(byIndex && byKey);
        EXPECT_EQ(byIndex->SlotIndex, c.slot);
        EXPECT_EQ(byKey->SlotIndex, c.slot);
        EXPECT_STREQ(byIndex->View, c.view);
        EXPECT_STREQ(byKey->View, c.view);
        EXPECT_EQ(byKey->DialogIndex, c.index);
    }
    for (const int none : {-1, 13, 14, 16})
        EXPECT_EQ(elementByDialogIndex(none), nullptr) << none;
    EXPECT_EQ(elementByKey(QStringLiteral("left")), nullptr);

    // "Message Bar Text" and "Dialog Text" are two menu items for one slot.
    int dialogText = 0;
    for (const ColourElement &e : ColourElements())
        dialogText += e.SlotIndex == DialogText;
    EXPECT_EQ(dialogText, 2);
}

TEST(ColourElements, ListEntriesInOrder)
{
    QStringList captions;
    std::vector<int> listSlots;
    for (const ColourElement *e : ColourListEntries()) {
        ASSERT_NE(e, nullptr);
        captions << QLatin1String(e->ListCaption);
        listSlots.push_back(e->SlotIndex);
    }
    EXPECT_EQ(captions.join(u'|'),
              "Left Navigation Bar|Right Navigation Bar|Navigation Bar text|Today Screen Text|"
              "Today Screen Lines|Command Bar|Navigation Tray|Message Bar Left|Message Bar Right|"
              "Important Message Bar Left|Important Message Bar Right|Menu Text|Dialog Text");
    EXPECT_EQ(listSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 9, 10, 13, 14, 20, 15}));
}
