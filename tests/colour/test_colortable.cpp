// Colour table: reset and undo over a ColourState.
#include "colour/colortable.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

constexpr Colour White = rgb(255, 255, 255);

// A state in which nothing is at its default.
ColourState scribbled()
{
    ColourState s;
    for (int i = 0; i < SlotCount; ++i)
        s.colors[i] = rgb(i, 2 * i, 3 * i);
    s.colors.baseHueIndex = 3;
    s.main = {77, rgb(1, 1, 1), true};
    s.menu = {88, rgb(2, 2, 2), false};
    return s;
}

}  // namespace

TEST(RestoreColors, ResetUndoAndSnapshot)
{
    // Reset: defaults and white overlay colours; levels and on-flags stay.
    ColourState s = scribbled();
    restoreColors(s);
    EXPECT_EQ(s.colors, defaultThemeColors());
    EXPECT_EQ(s.main, (TransparencyOverlay{77, White, true}));
    EXPECT_EQ(s.menu, (TransparencyOverlay{88, White, false}));

    // Undo returns to the saved snapshot, slots and base hue, then clears
    // the flag.
    s = scribbled();
    saveColorSnapshot(s);
    s.colors = defaultThemeColors();
    s.menu.color = 0;
    s.restoreFromSnapshot = true;
    restoreColors(s);
    EXPECT_EQ(s.colors, scribbled().colors);
    EXPECT_FALSE(s.restoreFromSnapshot);
    EXPECT_EQ(s.menu.color, White);
}
