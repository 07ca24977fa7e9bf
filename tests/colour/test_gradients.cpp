// The ramps, probed column by column.
#include "colour/ccolors.h"
#include "colour/colourfunctions.h"
#include "colour/gradients.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

Colour brightened(Colour base, int i)
{
    CColors cc;
    cc.setRGBColor(base);
    cc.Brighten(static_cast<float>(i * 0.005));
    return cc.RGBColor();
}

}  // namespace

TEST(Gradients, PlainRampStepsAndNeverReachesItsEnd)
{
    ScriptedPrompt prompt;
    Raster r(240, 30);
    r.fill(RGB(9, 9, 9));
    DoGradient(prompt, {}, RGB(0, 0, 0), RGB(240, 0, 0), r, 240, 28, 0, false);
    for (int x = 0; x < 240; ++x)
        ASSERT_EQ(r.pixel(x, 0), RGB(x, 0, 0)) << x;
    // Rows top .. top + height are drawn, the next one is not.
    EXPECT_EQ(r.pixel(239, 28), RGB(239, 0, 0));
    EXPECT_EQ(r.pixel(5, 29), RGB(9, 9, 9));

    // Steps that are not whole: 255 over 2 columns is 127.5 per column; the
    // second column is nearest(127.5) = 128 (halves to even).
    Raster two(2, 1);
    DoGradient(prompt, {}, RGB(0, 0, 0), RGB(255, 255, 255), two, 2, 0, 0, false);
    EXPECT_EQ(two.pixel(1, 0), RGB(128, 128, 128));
    // Falling channels, and a top other than 0.
    Raster down(3, 5);
    DoGradient(prompt, {}, RGB(30, 60, 90), RGB(0, 0, 0), down, 3, 1, 3, false);
    EXPECT_EQ(down.pixel(0, 3), RGB(30, 60, 90));
    EXPECT_EQ(down.pixel(2, 4), RGB(10, 20, 30));
    EXPECT_EQ(down.pixel(2, 2), RGB(0, 0, 0));
    // One column is colour A alone.
    Raster one(1, 1);
    DoGradient(prompt, {}, RGB(1, 2, 3), RGB(200, 200, 200), one, 1, 0, 0, false);
    EXPECT_EQ(one.pixel(0, 0), RGB(1, 2, 3));
    EXPECT_TRUE(prompt.calls().empty());
}

TEST(Gradients, Wm5RampsFollowTheBaseHue)
{
    ScriptedPrompt prompt;
    const Colour base = RGB(54, 83, 178);
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
        DoGradient(prompt, {true, c.index, base}, RGB(1, 1, 1), RGB(2, 2, 2), r, 240, 27, 0,
                   c.plain);
        const std::string kind = c.kind;
        for (const int x : {0, 1, 60, 119, 120}) {
            const int i = x;  // the left half is drawn at i = x
            Colour want = kind == "hue"    ? brightened(base, i)
                          : kind == "grey" ? GreyOfMax(brightened(base, i))
                                           : RGB(1, 1, 1);
            if (kind == "plain")
                want = x < 120 ? RGB(1, 1, 1) : RGB(2, 2, 2);
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
    DoGradientWM5(prompt, {true, 300, base}, r, 240, 1);
    EXPECT_EQ(r.pixel(120, 0), brightened(base, 120));
    EXPECT_NE(r.pixel(120, 0), r.pixel(0, 0));
    EXPECT_TRUE(prompt.calls().empty());
}

TEST(Gradients, GreyRampMakesItsOwnPicture)
{
    Raster r;
    GreyRamp(r, 50, 4, RGB(10, 200, 30));
    ASSERT_EQ(r.width(), 50);
    EXPECT_EQ(r.pixel(0, 0), RGB(200, 200, 200));
    EXPECT_EQ(RedOf(r.pixel(25, 3)), GreenOf(r.pixel(25, 3)));
}
