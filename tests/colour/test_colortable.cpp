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
