// The base-hue picker: strips, the heading, and what Save stores.
#include "colour/hslcolour.h"
#include "colour/colortable.h"
#include "colour/huepickermodel.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

class Hues : public ::testing::Test {
protected:
    Palettes palettes = buildPalettes();
    ThemeColors colours = defaultThemeColors();
    HuePickerModel dialog{palettes, colours};
};

Colour brightened(Colour c, double p)
{
    HslColour cc;
    cc.setRgbColor(c);
    cc.brighten(static_cast<float>(p));
    return cc.rgbColor();
}

}  // namespace

TEST_F(Hues, OpensOnTheBaseHueAndSaveStoresTheLastPosition)
{
    dialog.load();
    EXPECT_EQ(dialog.greyStrip.pixel(0, 0), paletteColor(palettes, 1));
    EXPECT_EQ(dialog.hueStrip.pixel(0, 10), paletteColor(palettes, 257));
    EXPECT_EQ(dialog.heading.pixel(128, 5), brightened(rgb(54, 83, 178), 128 * 0.005));
    // Saving at once changes nothing.
    dialog.save();
    EXPECT_EQ(colours, defaultThemeColors());

    dialog.chooseGrey(255, 3);
    EXPECT_EQ(dialog.selectedIndex, 255);
    EXPECT_EQ(dialog.heading.pixel(0, 0), paletteColor(palettes, 256));
    dialog.chooseHue(10, 3);
    dialog.cancel();
    EXPECT_EQ(colours.baseHueIndex, 417);
    dialog.save();
    EXPECT_EQ(colours.baseHueIndex, 266);
    EXPECT_EQ(colours.baseHueColor, paletteColor(palettes, 267));
}
