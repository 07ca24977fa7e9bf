// The theme's colour table: 22 slots in the order the installation script
// writes them, the Windows Mobile 5 base hue beside them, and the two
// transparency overlays. Defaults and the commands that change them live in
// colour/.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varno {

// Colour value 0x00BBGGRR (red in the low byte).
using Colour = int32_t;

constexpr Colour rgb(int r, int g, int b)
{
    return (r > 255 ? 255 : r) + 256 * (g > 255 ? 255 : g) + 65536 * (b > 255 ? 255 : b);
}

enum Slot : int {
    NavBarLeft = 0,
    NavBarRight = 1,
    NavBarText = 2,
    TodayTextColor = 3,
    TodayLines = 4,
    CommandBar = 5,
    NavTray = 6,
    NavTray2 = 7,
    NavTray3 = 8,
    MessageBarLeft = 9,
    MessageBarRight = 10,
    LineBLeft = 11,
    LineBRight = 12,
    ImpMessageBarLeft = 13,
    ImpMessageBarRight = 14,
    DialogText = 15,
    ImpDialogText = 16,
    LineALeft = 17,
    LineARight = 18,
    FixedColor = 19,
    MenuText = 20,
    DotsColor = 21,
};
constexpr int SlotCount = 22;

// The 22 slots with the base hue: what a snapshot copies and a theme stores.
struct ThemeColors {
    std::array<Colour, SlotCount> bySlot{};
    int32_t baseHueIndex = 417;  // below 256 a grey, 256 or more a hue
    Colour baseHueColor = rgb(54, 83, 178);

    Colour &operator[](int slot) { return bySlot.at(static_cast<std::size_t>(slot)); }
    Colour operator[](int slot) const { return bySlot.at(static_cast<std::size_t>(slot)); }
    bool operator==(const ThemeColors &) const = default;
};

// One transparency overlay (the Today one or the Start-menu one).
struct TransparencyOverlay {
    int16_t level = 0;  // opacity 0..255
    Colour color = rgb(255, 255, 255);
    bool enabled = false;
    bool operator==(const TransparencyOverlay &) const = default;
};

// Everything the colour commands edit, with the one-level undo state.
struct ColourState {
    ThemeColors colors;
    ThemeColors colorSnapshot;
    bool restoreFromSnapshot = false;
    TransparencyOverlay main;  // MainTransLevel, MainTransColor, MainTransOn
    TransparencyOverlay menu;  // MenuTransLevel, MenuTransColor, MenuTransOn
};

}  // namespace varno
