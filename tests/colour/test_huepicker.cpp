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

TEST_F(Hues, OpensOnTheCurrentBaseHueWithBothStrips)
{
    dialog.load();
    EXPECT_EQ(dialog.greyStrip.pixel(0, 0), paletteColor(palettes, 1));
    EXPECT_EQ(dialog.hueStrip.pixel(0, 10), paletteColor(palettes, 257));
    EXPECT_EQ(dialog.selectedIndex, 417);
    EXPECT_EQ(dialog.heading.pixel(0, 0), rgb(54, 83, 178));
    EXPECT_EQ(dialog.heading.pixel(128, 5), brightened(rgb(54, 83, 178), 128 * 0.005));
    EXPECT_EQ(dialog.heading.pixel(200, 5), brightened(rgb(54, 83, 178), 56 * 0.005));
}

TEST_F(Hues, TheLastPositionPassedIsWhatSaveStores)
{
    dialog.load();
    // Saving at once changes nothing.
    dialog.save();
    EXPECT_EQ(colours, defaultThemeColors());

    const struct {
        bool colours;
        double x;
        int index;
        int entry;  // palette position
    } moves[] = {
        {true, 0, 256, 257},
        {true, 254.5, 510, 511},
        {false, 255, 255, 256},
    };
    for (const auto &m : moves) {
        SCOPED_TRACE(m.x);
        if (m.colours)
            dialog.pointAtHues(m.x, 3);
        else
            dialog.pointAtGreys(m.x, 3);
        EXPECT_EQ(dialog.selectedIndex, m.index);
        EXPECT_EQ(dialog.selectedColor, paletteColor(palettes, m.entry));
        EXPECT_EQ(dialog.heading.pixel(0, 0), dialog.selectedColor);
    }
    dialog.pointAtHues(10, 3);
    dialog.cancel();
    EXPECT_EQ(colours.baseHueIndex, 417);
    dialog.save();
    EXPECT_EQ(colours.baseHueIndex, 266);
    EXPECT_EQ(colours.baseHueColor, paletteColor(palettes, 267));
}
