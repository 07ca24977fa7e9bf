#include "colour/huepickermodel.h"

#include "base/rounding.h"
#include "colour/hslcolour.h"

#include <algorithm>

namespace varno {

namespace {

Colour entryColour(const PaletteEntry &e)
{
    return rgb(e.red, e.green, e.blue);
}

// The pixel chosen; choices arrive only over the strip, but a fractional
// position at the right edge must not fall off it.
Colour pixelAt(const Raster &strip, double x, double y)
{
    const int px = std::clamp(static_cast<int>(x), 0, strip.width() - 1);
    const int py = std::clamp(static_cast<int>(y), 0, strip.height() - 1);
    return strip.pixel(px, py);
}

}  // namespace

HuePickerModel::HuePickerModel(const Palettes &palettes, ThemeColors &colours)
    : m_palettes(palettes), m_colours(colours)
{
}

void HuePickerModel::load()
{
    for (int i = 0; i < 256; ++i) {
        greyStrip.setDrawColour(entryColour(m_palettes.greyPalette[static_cast<size_t>(i)]));
        greyStrip.drawLine(i, 0, i, 30);
        hueStrip.setDrawColour(entryColour(m_palettes.huePalette[static_cast<size_t>(i)]));
        hueStrip.drawLine(i, 0, i, 30);
    }
    selectedColor = m_colours.baseHueColor;
    selectedIndex = checked16(m_colours.baseHueIndex);
    drawHeading();
}

void HuePickerModel::drawHeading()
{
    // Brightest (64 % more luminance) in the middle, the choice at both ends.
    HslColour cc;
    for (int i = 0; i <= 128; ++i) {
        cc.setRgbColor(selectedColor);
        cc.brighten(static_cast<float>(i * 0.005));
        heading.setDrawColour(cc.rgbColor());
        heading.drawLine(i, 0, i, 25);
        heading.drawLine(256 - i, 0, 256 - i, 25);
    }
}

void HuePickerModel::chooseHue(double x, double y)
{
    selectedColor = pixelAt(hueStrip, x, y);
    selectedIndex = cint16(x + 256);
    drawHeading();
}

void HuePickerModel::chooseGrey(double x, double y)
{
    selectedColor = pixelAt(greyStrip, x, y);
    selectedIndex = cint16(x);
    drawHeading();
}

void HuePickerModel::save()
{
    m_colours.baseHueColor = selectedColor;
    m_colours.baseHueIndex = selectedIndex;
}

}  // namespace varno
