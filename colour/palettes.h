// The two Windows Mobile 5 base-hue palettes (256 near-greys and 256 hues,
// in the device's 16-bit colour steps) and the lookup by palette position.
#pragma once

#include "app/themecolors.h"

#include <QStringView>

#include <array>
#include <cstdint>

namespace varno {

struct PaletteEntry {
    int16_t red = 0;
    int16_t green = 0;
    int16_t blue = 0;
    bool operator==(const PaletteEntry &) const = default;
};

constexpr int PaletteSize = 256;
// Entry k (1..256) is at index k - 1.
using Palette = std::array<PaletteEntry, PaletteSize>;

struct Palettes {
    Palette huePalette;
    Palette greyPalette;
};

// The palettes as carried in the program: 256 "r,g,b" triples in decimal,
// separated by "|".
QStringView huePaletteText();
QStringView greyPaletteText();

// Parses both texts; done once at start-up.
Palettes buildPalettes();

// Position 1..256 is grey entry `position`, 257..512 hue entry
// `position` - 256. Anything else: Err::SubscriptOutOfRange.
Colour paletteColor(const Palettes &palettes, int position);

}  // namespace varno
