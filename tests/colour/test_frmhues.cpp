// The base-hue picker: strips, the heading, and what Save stores.
#include "colour/ccolors.h"
#include "colour/colortable.h"
#include "colour/frmhues.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

class Hues : public ::testing::Test {
protected:
    Palettes palettes = BuildPalettes();
    ThemeColors colours = DefaultThemeColors();
    frmHues dialog{palettes, colours};
};

Colour brightened(Colour c, double p)
{
    CColors cc;
    cc.setRGBColor(c);
    cc.Brighten(static_cast<float>(p));
    return cc.RGBColor();
}

}  // namespace

TEST_F(Hues, OpensOnTheCurrentBaseHueWithBothStrips)
{
    dialog.Form_Load();
    EXPECT_EQ(dialog.pbGrays.pixel(0, 0), PaletteColor(palettes, 1));
    EXPECT_EQ(dialog.pbGrays.pixel(255, 29), PaletteColor(palettes, 256));
    EXPECT_EQ(dialog.pbColors.pixel(0, 10), PaletteColor(palettes, 257));
    EXPECT_EQ(dialog.pbColors.pixel(255, 10), PaletteColor(palettes, 512));
    EXPECT_EQ(dialog.SelectedIndex, 417);
    EXPECT_EQ(dialog.pbHeading.pixel(0, 0), RGB(54, 83, 178));
    EXPECT_EQ(dialog.pbHeading.pixel(256, 25), RGB(54, 83, 178));
    EXPECT_EQ(dialog.pbHeading.pixel(128, 5), brightened(RGB(54, 83, 178), 128 * 0.005));
    EXPECT_EQ(dialog.pbHeading.pixel(200, 5), brightened(RGB(54, 83, 178), 56 * 0.005));
}

TEST_F(Hues, TheLastPositionPassedIsWhatSaveStores)
{
    dialog.Form_Load();
    // Saving at once changes nothing.
    dialog.btnSave_Click();
    EXPECT_EQ(colours, DefaultThemeColors());

    const struct {
        bool colours;
        double x;
        int index;
        int entry;  // palette position
    } moves[] = {{true, 0, 256, 257},    {true, 40.4, 296, 297}, {true, 254.5, 510, 511},
                 {false, 255, 255, 256}, {false, 0, 0, 1},       {false, 2.5, 2, 3}};
    for (const auto &m : moves) {
        SCOPED_TRACE(m.x);
        if (m.colours)
            dialog.pbColors_MouseMove(m.x, 3);
        else
            dialog.pbGrays_MouseMove(m.x, 3);
        EXPECT_EQ(dialog.SelectedIndex, m.index);
        EXPECT_EQ(dialog.SelectedColor, PaletteColor(palettes, m.entry));
        EXPECT_EQ(dialog.pbHeading.pixel(0, 0), dialog.SelectedColor);
    }
    dialog.pbColors_MouseMove(10, 3);
    dialog.btnCancel_Click();
    EXPECT_EQ(colours.BaseHueIndex, 417);
    dialog.btnSave_Click();
    EXPECT_EQ(colours.BaseHueIndex, 266);
    EXPECT_EQ(colours.BaseHueColor, PaletteColor(palettes, 267));
}
