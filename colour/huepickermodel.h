// The base-hue picker of Windows Mobile 5 themes without its widgets: two
// palette strips to choose from, a heading strip showing the choice, and
// Save / Cancel.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "colour/palettes.h"

#include <cstdint>

namespace varno {

class HuePickerModel {
public:
    // Strips are 256 x 30; the heading 257 x 26 (lines at 0..256, rows 0..25).
    static constexpr int StripWidth = 256, StripHeight = 30;
    static constexpr int HeadingWidth = 257, HeadingHeight = 26;

    HuePickerModel(const Palettes &palettes, ThemeColors &colours);

    // Draws the strips and takes the current base hue.
    void load();
    void drawHeading();

    // A choice on a strip, in strip pixels.
    void chooseHue(double x, double y);
    void chooseGrey(double x, double y);

    // Both close the dialog; only Save writes the base hue.
    void save();
    void cancel() {}

    Colour selectedColor = 0;
    int16_t selectedIndex = 0;
    Raster greyStrip{StripWidth, StripHeight};
    Raster hueStrip{StripWidth, StripHeight};
    Raster heading{HeadingWidth, HeadingHeight};

private:
    const Palettes &m_palettes;
    ThemeColors &m_colours;
};

}  // namespace varno
