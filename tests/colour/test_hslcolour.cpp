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

TEST(HslColour, OneComponentChanged)
{
    enum Op { Contrast, RevLight, RevColor, Cycle, Tint, Bright, Dark };
    const struct {
        Op op;
        float arg;
        Colour in;
        Hsl hsl;
        Colour out;
    } cases[] = {
        {Contrast, 0, rgb(255, 0, 0), {0, 240, 120}, 0xFFFFFF},
        // L 91 -> 149: M2 = 240, M1 = 58; green nearest(149.5) = 150 -> 159.9
        {RevLight, 0, rgb(0, 96, 192), {140, 240, 149}, rgb(62, 160, 255)},
        {RevColor, 0, rgb(0, 128, 255), {100, 240, 120}, rgb(0, 255, 128)},
        // H 29.96 - 40.00 + 240 = 230; + 20 wraps to 10; green nearest(60.5)
        // = 60 -> 64.25
        {Cycle, 0, rgb(255, 0, 64), {10, 240, 120}, rgb(255, 64, 0)},
        {Tint, 300, rgb(0, 128, 255), {240, 240, 120}, rgb(255, 0, 0)},
        {Bright, 0.5f, rgb(0, 128, 255), {140, 240, 180}, rgb(128, 192, 255)},
        {Dark, 0.25f, rgb(0, 128, 255), {140, 240, 90}, rgb(0, 96, 192)},
        // Grey 106 has L 100; 0.015f = 0.0149999997, so L + L p = 101.49999999
        // -> 101 in double (single precision: 101.5 -> 102); 101*255/240 = 107.3.
        {Bright, 0.015f, rgb(106, 106, 106), {160, 0, 101}, rgb(107, 107, 107)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "op " << c.op << " " << c.arg << " on " << c.in);
        HslColour cc = with(c.in);
        auto hue = static_cast<int16_t>(c.arg);
        bool done = false;
        switch (c.op) {
        case Contrast: done = cc.contrastingColor(); break;
        case RevLight: done = cc.reverseLight(); break;
        case RevColor: done = cc.reverseColor(); break;
        case Cycle: done = cc.cycleColor(); break;
        case Tint: done = cc.tint(hue) && hue == c.hsl.h; break;  // clamped hue written back
        case Bright: done = cc.brighten(c.arg); break;
        case Dark: done = cc.darken(c.arg); break;
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(hslOf(cc), c.hsl);
        EXPECT_EQ(cc.rgbColor(), c.out);
    }
}

TEST(HslColour, BrightenAndDarkenFailures)
{
    // A zero step converts nothing: H/S/L disagree with the colour on purpose.
    HslColour same = with(rgb(0, 128, 255));
    EXPECT_TRUE(same.darken(0));
    EXPECT_EQ(hslOf(same), (Hsl{7, 8, 9}));
    // L 30841 (bit 24 in green) * 1.1 overflows 16 bits: false, colour kept.
    HslColour cc = with(0x01000000);
    EXPECT_FALSE(cc.brighten(0.1f));
    EXPECT_EQ(cc.rgbColor(), 0x01000000);
}

TEST(HslColour, BlendMixesChannelsWithoutHSL)
{
    HslColour cc = with(0);
    EXPECT_TRUE(cc.blend(0, rgb(255, 1, 3), 0.5f));
    EXPECT_EQ(cc.rgbColor(), rgb(128, 0, 2));  // 127.5, 0.5, 1.5
    EXPECT_EQ(hslOf(cc), (Hsl{7, 8, 9}));
    EXPECT_TRUE(cc.blend(rgb(1, 2, 3), rgb(4, 5, 6), 1.5f));
    EXPECT_EQ(cc.rgbColor(), rgb(4, 5, 6));
}
