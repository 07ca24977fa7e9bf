// The ramps, probed column by column.
#include "colour/hslcolour.h"
#include "colour/colourfunctions.h"
#include "colour/gradients.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

Colour brightened(Colour base, int i)
{
    HslColour cc;
    cc.setRgbColor(base);
    cc.brighten(static_cast<float>(i * 0.005));
    return cc.rgbColor();
}

}  // namespace

TEST(Gradients, PlainRampStepsAndNeverReachesItsEnd)
{
    ScriptedPrompt prompt;
    Raster r(240, 30);
    r.fill(rgb(9, 9, 9));
    drawRamp(prompt, {}, rgb(0, 0, 0), rgb(240, 0, 0), r, 240, 28, 0, false);
    for (int x = 0; x < 240; ++x)
        ASSERT_EQ(r.pixel(x, 0), rgb(x, 0, 0)) << x;
    // Rows top .. top + height are drawn, the next one is not.
    EXPECT_EQ(r.pixel(239, 28), rgb(239, 0, 0));
    EXPECT_EQ(r.pixel(5, 29), rgb(9, 9, 9));

    // Steps that are not whole: 255 over 2 columns is 127.5 per column; the
    // second column is nearest(127.5) = 128 (halves to even).
    Raster two(2, 1);
    drawRamp(prompt, {}, rgb(0, 0, 0), rgb(255, 255, 255), two, 2, 0, 0, false);
    EXPECT_EQ(two.pixel(1, 0), rgb(128, 128, 128));
    // Falling channels, and a top other than 0.
    Raster down(3, 5);
    drawRamp(prompt, {}, rgb(30, 60, 90), rgb(0, 0, 0), down, 3, 1, 3, false);
    EXPECT_EQ(down.pixel(0, 3), rgb(30, 60, 90));
    EXPECT_EQ(down.pixel(2, 4), rgb(10, 20, 30));
    EXPECT_EQ(down.pixel(2, 2), rgb(0, 0, 0));
    EXPECT_TRUE(prompt.calls().empty());
}

TEST(Gradients, Wm5RampsFollowTheBaseHue)
{
    ScriptedPrompt prompt;
    const Colour base = rgb(54, 83, 178);
    const struct {
        int index;
        bool plain;
        const char *kind;
    } cases[] = {{256, false, "hue"},
                 {417, false, "hue"},
                 {255, false, "grey"},
                 {0, false, "grey"},
                 {417, true, "plain"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.index));
        Raster r(240, 28);
        drawRamp(prompt, {true, c.index, base}, rgb(1, 1, 1), rgb(2, 2, 2), r, 240, 27, 0, c.plain);
        const std::string kind = c.kind;
        for (const int x : {0, 1, 60, 119, 120}) {
            const int i = x;  // the left half is drawn at i = x
            Colour want = kind == "hue"    ? brightened(base, i)
                          : kind == "grey" ? greyOfMax(brightened(base, i))
                                           : rgb(1, 1, 1);
            if (kind == "plain")
                want = x < 120 ? rgb(1, 1, 1) : rgb(2, 2, 2);
            EXPECT_EQ(r.pixel(x, 10), want) << x;
            // Symmetric: column 240 - i matches column i (240 itself is off
            // the buffer).
            if (kind != "plain" && x > 0) {
                EXPECT_EQ(r.pixel(240 - x, 10), want) << x;
            }
        }
    }
    // The middle is the brightest: 60 % more luminance than the edges.
    Raster r(240, 2);
    drawHueRamp(prompt, {true, 300, base}, r, 240, 1);
    EXPECT_EQ(r.pixel(120, 0), brightened(base, 120));
    EXPECT_NE(r.pixel(120, 0), r.pixel(0, 0));
    EXPECT_TRUE(prompt.calls().empty());
}

TEST(Gradients, GreyRampMakesItsOwnPicture)
{
    Raster r;
    drawGreyRamp(r, 50, 4, rgb(10, 200, 30));
    ASSERT_EQ(r.width(), 50);
    EXPECT_EQ(r.pixel(0, 0), rgb(200, 200, 200));
    EXPECT_EQ(redOf(r.pixel(25, 3)), greenOf(r.pixel(25, 3)));
}
