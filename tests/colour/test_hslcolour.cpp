// HslColour: the 240-step HSL conversions and the operations built on them.
// Expected values are worked out by hand from the conversion rules.
#include "colour/hslcolour.h"

#include "base/runtimeerror.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

struct Hsl {
    int16_t h, s, l;
    bool operator==(const Hsl &) const = default;
};

Hsl hslOf(const HslColour &cc)
{
    return {cc.hue(), cc.saturation(), cc.luminance()};
}

HslColour with(Colour c, Hsl hsl = {7, 8, 9})
{
    HslColour cc;
    cc.setRgbColor(c);
    cc.setHue(hsl.h), cc.setSaturation(hsl.s), cc.setLuminance(hsl.l);
    return cc;
}

}  // namespace

TEST(HslColour, ToHslAndBack)
{
    const struct {
        Colour in;
        Hsl hsl;
        Colour back;
    } cases[] = {
        // L = (255*240 + 255) / 510 = 120.5 -> 120, but S uses 510 - sum as L
        // (120.5) is above 120: 61200.5 / 255 = 240.002. Back: M2 =
        // nearest(240.5) = 240, M1 = 0; red nearest(255.5) = 256 -> 255.
        {rgb(255, 0, 0), {0, 240, 120}, rgb(255, 0, 0)},
        // L 61695 / 510 = 120.97; back 128.56: grey 128 drifts.
        {rgb(128, 128, 128), {160, 0, 121}, rgb(129, 129, 129)},
        // H = 160 + Gd - Rd = 139.92; back green nearest(4820 / 40 = 120.5)
        // = 120, 30720 / 240 = 128.
        {rgb(0, 128, 255), {140, 240, 120}, rgb(0, 128, 255)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        HslColour cc = with(c.in);
        EXPECT_TRUE(cc.toHsl());
        EXPECT_EQ(hslOf(cc), c.hsl);
        cc.setRgbColor(0x123456);
        EXPECT_TRUE(cc.toRgb());
        EXPECT_EQ(cc.rgbColor(), c.back);
    }
    HslColour negative = with(0, {0, 0, -8});  // nearest(-8.5) = -8
    EXPECT_THROW(negative.toRgb(), RuntimeError);
}

// Brighten is the one operation the ramps use; the others the class offers
// are drawn by nothing in Varno.
TEST(HslColour, BrightenRaisesTheLuminanceUpToWhite)
{
    const struct {
        float p;
        Colour in;
        Hsl hsl;
        Colour out;
    } cases[] = {
        {0.5f, rgb(0, 128, 255), {140, 240, 180}, rgb(128, 192, 255)},
        {1.5f, rgb(0, 128, 255), {140, 240, 240}, rgb(255, 255, 255)},
        // Grey 106 has L 100; 0.015f = 0.0149999997, so L + L p = 101.49999999
        // -> 101 in double (single precision: 101.5 -> 102); 101*255/240 = 107.3.
        {0.015f, rgb(106, 106, 106), {160, 0, 101}, rgb(107, 107, 107)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p << " on " << c.in);
        HslColour cc = with(c.in);
        EXPECT_TRUE(cc.brighten(c.p));
        EXPECT_EQ(hslOf(cc), c.hsl);
        EXPECT_EQ(cc.rgbColor(), c.out);
    }
    // A zero step converts nothing: H/S/L disagree with the colour on purpose.
    HslColour same = with(rgb(0, 128, 255));
    EXPECT_TRUE(same.brighten(0));
    EXPECT_EQ(hslOf(same), (Hsl{7, 8, 9}));
    // L 30841 (bit 24 in green) * 1.1 overflows 16 bits: false, colour kept.
    HslColour cc = with(0x01000000);
    EXPECT_FALSE(cc.brighten(0.1f));
    EXPECT_EQ(cc.rgbColor(), 0x01000000);
}
