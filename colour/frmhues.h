// The base-hue picker of Windows Mobile 5 themes without its widgets: two
// palette strips that follow the pointer, a heading strip showing the choice,
// and Save / Cancel.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "colour/palettes.h"

#include <cstdint>

namespace varno {

class frmHues {
public:
    // Strips are 256 x 30; the heading 257 x 26 (lines at 0..256, rows 0..25).
    static constexpr int StripWidth = 256, StripHeight = 30;
    static constexpr int HeadingWidth = 257, HeadingHeight = 26;

    frmHues(const Palettes &palettes, ThemeColors &colours);

    // Draws the strips and takes the current base hue.
    void Form_Load();
    void DrawHeading();

    // Pointer moves over a strip, in strip pixels.
    void pbColors_MouseMove(double x, double y);
    void pbGrays_MouseMove(double x, double y);

    // Both close the dialog; only Save writes the base hue.
    void btnSave_Click();
    void btnCancel_Click() {}

    Colour SelectedColor = 0;
    int16_t SelectedIndex = 0;
    Raster pbGrays{StripWidth, StripHeight};
    Raster pbColors{StripWidth, StripHeight};
    Raster pbHeading{HeadingWidth, HeadingHeight};

private:
    const Palettes &m_palettes;
    ThemeColors &m_colours;
};

}  // namespace varno
