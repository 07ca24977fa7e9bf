// The base hue: its palettes, the ramps that follow it, and its picker.
#include "colour/colortable.h"
#include "colour/colourfunctions.h"
#include "colour/gradients.h"
#include "colour/hslcolour.h"
#include "colour/huepickermodel.h"
#include "support/scriptedprompt.h"

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

// `base` brightened by `steps` half-percent steps, as the hue ramps do.
Colour brightened(Colour base, int steps)
{
    HslColour cc;
    cc.setRgbColor(base);
    cc.brighten(static_cast<float>(steps * 0.005));
    return cc.rgbColor();
}

}  // namespace

// Greys first, then hues, one-based.
TEST(PaletteColor, GreysThenHues)
{
    const Palettes p = buildPalettes();
    EXPECT_EQ(paletteColor(p, 1), rgb(99, 101, 99));
    EXPECT_EQ(paletteColor(p, 256), rgb(115, 113, 115));
    EXPECT_EQ(paletteColor(p, 257), rgb(214, 52, 49));
    EXPECT_EQ(paletteColor(p, 297), rgb(214, 211, 49));  // hue entry 41
    EXPECT_EQ(paletteColor(p, 512), rgb(214, 52, 156));
    for (const int position : {0, 513})
        EXPECT_EQ(varno::test::errorOf([&] { paletteColor(p, position); }),
                  Err::SubscriptOutOfRange);
}

TEST(Gradients, PlainRampStepsAndNeverReachesItsEnd)
{
    ScriptedPrompt prompt;
    Raster r(240, 30);
    r.fill(rgb(9, 9, 9));
    drawRamp(prompt, {}, rgb(0, 0, 0), rgb(240, 0, 0), r, 240, 28, 0, false);
    // Rows top .. top + height are drawn, the next one is not.
    EXPECT_EQ(r.pixel(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(r.pixel(239, 28), rgb(239, 0, 0));
    EXPECT_EQ(r.pixel(5, 29), rgb(9, 9, 9));

    // Steps that are not whole: 255 over 2 columns is 127.5 per column; the
    // second column is nearest(127.5) = 128 (halves to even).
    Raster two(2, 1);
    drawRamp(prompt, {}, rgb(0, 0, 0), rgb(255, 255, 255), two, 2, 0, 0, false);
    EXPECT_EQ(two.pixel(1, 0), rgb(128, 128, 128));
    // Falling channels.
    Raster down(3, 1);
    drawRamp(prompt, {}, rgb(30, 60, 90), rgb(0, 0, 0), down, 3, 0, 0, false);
    EXPECT_EQ(down.pixel(2, 0), rgb(10, 20, 30));
}

TEST(Gradients, Wm5RampsFollowTheBaseHue)
{
    ScriptedPrompt prompt;
    const Colour base = rgb(54, 83, 178);
    // Hue indexes (256 and up) brighten towards the middle, symmetrically.
    Raster hue(240, 28);
    drawRamp(prompt, {true, 256, base}, rgb(1, 1, 1), rgb(2, 2, 2), hue, 240, 27, 0, false);
    EXPECT_EQ(hue.pixel(0, 10), base);
    EXPECT_EQ(hue.pixel(60, 10), brightened(base, 60));
    EXPECT_EQ(hue.pixel(180, 10), brightened(base, 60));
    EXPECT_EQ(hue.pixel(120, 10), brightened(base, 120));
    // Grey indexes (below 256) take the same ramp in grey.
    Raster grey(240, 28);
    drawRamp(prompt, {true, 255, base}, rgb(1, 1, 1), rgb(2, 2, 2), grey, 240, 27, 0, false);
    EXPECT_EQ(grey.pixel(60, 10), greyOfMax(brightened(base, 60)));
    // A plain ramp ignores the base hue.
    Raster plain(240, 28);
    drawRamp(prompt, {true, 417, base}, rgb(1, 1, 1), rgb(2, 2, 2), plain, 240, 27, 0, true);
    EXPECT_EQ(plain.pixel(119, 10), rgb(1, 1, 1));
    EXPECT_EQ(plain.pixel(120, 10), rgb(2, 2, 2));
    EXPECT_TRUE(prompt.calls().empty());
}

// The strips and the heading; Save stores the last position, Cancel nothing.
// The grey strip's last position is chosen and saved in HuesDialogTest.
TEST(HuePicker, OpensOnTheBaseHueAndSaveStoresTheLastPosition)
{
    const Palettes palettes = buildPalettes();
    ThemeColors colours = defaultThemeColors();
    HuePickerModel dialog{palettes, colours};
    dialog.load();
    EXPECT_EQ(dialog.greyStrip.pixel(0, 0), paletteColor(palettes, 1));
    EXPECT_EQ(dialog.hueStrip.pixel(0, 10), paletteColor(palettes, 257));
    EXPECT_EQ(dialog.heading.pixel(128, 5), brightened(rgb(54, 83, 178), 128));
    // Saving at once changes nothing.
    dialog.save();
    EXPECT_EQ(colours, defaultThemeColors());

    dialog.chooseHue(10, 3);
    dialog.cancel();
    EXPECT_EQ(colours.baseHueIndex, 417);
    dialog.save();
    EXPECT_EQ(colours.baseHueIndex, 266);
    EXPECT_EQ(colours.baseHueColor, paletteColor(palettes, 267));
}
