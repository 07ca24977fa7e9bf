#include "colour/frmhues.h"

#include "base/rounding.h"
#include "colour/ccolors.h"

#include <algorithm>

namespace varno {

namespace {

Colour entryColour(const PaletteEntry &e)
{
    return RGB(e.Red, e.Green, e.Blue);
}

// The pixel under the pointer; moves arrive only over the strip, but a
// fractional position at the right edge must not fall off it.
Colour pixelAt(const Raster &strip, double x, double y)
{
    const int px = std::clamp(static_cast<int>(x), 0, strip.width() - 1);
    const int py = std::clamp(static_cast<int>(y), 0, strip.height() - 1);
    return strip.pixel(px, py);
}

}  // namespace

frmHues::frmHues(const Palettes &palettes, ThemeColors &colours)
    : m_palettes(palettes), m_colours(colours)
{
}

void frmHues::Form_Load()
{
    for (int i = 0; i < 256; ++i) {
        pbGrays.setDrawColour(entryColour(m_palettes.GreyPalette[static_cast<size_t>(i)]));
        pbGrays.drawLine(i, 0, i, 30);
        pbColors.setDrawColour(entryColour(m_palettes.HuePalette[static_cast<size_t>(i)]));
        pbColors.drawLine(i, 0, i, 30);
    }
    SelectedColor = m_colours.BaseHueColor;
    SelectedIndex = checked16(m_colours.BaseHueIndex);
    DrawHeading();
}

void frmHues::DrawHeading()
{
    // Brightest (64 % more luminance) in the middle, the choice at both ends.
    CColors cc;
    for (int i = 0; i <= 128; ++i) {
        cc.setRGBColor(SelectedColor);
        cc.Brighten(static_cast<float>(i * 0.005));
        pbHeading.setDrawColour(cc.RGBColor());
        pbHeading.drawLine(i, 0, i, 25);
        pbHeading.drawLine(256 - i, 0, 256 - i, 25);
    }
}

void frmHues::pbColors_MouseMove(double x, double y)
{
    SelectedColor = pixelAt(pbColors, x, y);
    SelectedIndex = cint16(x + 256);
    DrawHeading();
}

void frmHues::pbGrays_MouseMove(double x, double y)
{
    SelectedColor = pixelAt(pbGrays, x, y);
    SelectedIndex = cint16(x);
    DrawHeading();
}

void frmHues::btnSave_Click()
{
    m_colours.BaseHueColor = SelectedColor;
    m_colours.BaseHueIndex = SelectedIndex;
}

}  // namespace varno
