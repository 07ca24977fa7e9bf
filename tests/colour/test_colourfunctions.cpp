// Free colour functions: channels, the fraction-based conversions, text and
// overlay colours, HSV, averaging, shifting and grey tests.
#include "colour/colourfunctions.h"

#include "support/scriptedprompt.h"

#include <vector>

using namespace varno;
using varno::test::errorOf;

TEST(ColourChannels, TruncatingDivisionAndSignedMod)
{
    EXPECT_EQ(redOf(0x00123456), 0x56);
    EXPECT_EQ(greenOf(0x00123456), 0x34);
    EXPECT_EQ(blueOf(0x00123456), 0x12);
    EXPECT_EQ(greenOf(-256), -1);
    EXPECT_EQ(composeColour(256, 300, 1000), 0xFFFFFF);
    EXPECT_EQ(errorOf([] { composeColour(0, -1, 0); }), Err::InvalidProcedureCall);
    EXPECT_EQ(greyOfMax(rgb(10, 200, 30)), rgb(200, 200, 200));
}

TEST(FractionHSL, HSLfToRGBEachSixth)
{
    // s 1, l 0.5: m1 0, m2 1, k 1, and a half is 127.5 -> 128.
    const struct {
        float h, s, l;
        int32_t r, g, b;
    } cases[] = {
        {-0.5f, 1, 0.5f, 255, 0, 128}, {0.5f, 1, 0.5f, 255, 128, 0}, {1.5f, 1, 0.5f, 128, 255, 0},
        {2.5f, 1, 0.5f, 0, 255, 128},  {3.5f, 1, 0.5f, 0, 128, 255}, {4.5f, 1, 0.5f, 128, 0, 255},
        {0.5f, 1, 0.25f, 128, 64, 0},  // m2 0.5, k 0.5: 63.75
        {0, 1, 0.75f, 255, 128, 128},  // m1 = 0.75 - 0.25
        {3, 0, 0.5f, 128, 128, 128},   // no saturation
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << " " << c.s << " " << c.l);
        int32_t r = -1, g = -1, b = -1;
        hslFractionsToRgb(c.h, c.s, c.l, r, g, b);
        EXPECT_EQ(rgb(r, g, b), rgb(c.r, c.g, c.b));
    }
}

TEST(BestTextColor, BlackExactlyWhenMaxPlusMinReaches255)
{
    // The middle channel never counts, whatever the channel order.
    EXPECT_EQ(bestTextColor(rgb(0, 254, 200)), 0xFFFFFF);
    EXPECT_EQ(bestTextColor(rgb(1, 254, 200)), 0);
    EXPECT_EQ(bestTextColor(rgb(200, 0, 54)), 0xFFFFFF);
}

TEST(LightenTransparency, SameHueAtLightness06)
{
    // Any grey: 0.6f * 255 = 153.000006.
    EXPECT_EQ(lightenTransparency(rgb(7, 7, 7)), rgb(153, 153, 153));
    // Orange, h 0.50196: green = 0.2 + 0.8 * 0.50196 = 0.60157 -> 153.4
    EXPECT_EQ(lightenTransparency(rgb(255, 128, 0)), rgb(255, 153, 51));
    // RGB(14, 16, 0), h 1.125: red = m1 + k * 0.875 = 0.90000000596 in double,
    // exactly between the singles 0.89999998 and 0.90000004. Stored as a
    // single it goes to the even one: 229.49999 -> 229 (230 kept in double).
    EXPECT_EQ(lightenTransparency(rgb(14, 16, 0)), rgb(229, 255, 51));
}

TEST(HSV_to_RGB, SectorsAndRounding)
{
    const struct {
        float h, s, v;
        Colour out;
    } cases[] = {
        {-1, 0, 0.5f, rgb(128, 128, 128)},  // nearest(127.5)
        {64, 1, 1, rgb(128, 255, 0)},       // x 1.4999988, q = 1 - f -> 127.5003
        {128, 1, 1, rgb(0, 255, 255)},      // x 2.9999977, t = f -> 254.9994
        {180, 1, 1, rgb(56, 0, 255)},       // x 4.2187467, t -> 55.78
        {254.5f, 1, 1, rgb(255, 0, 12)},    // H 254: x 5.9531221, q -> 11.95
        {255.5f, 1, 1, rgb(255, 6, 0)},     // H 256 mod 255 = 1: t -> 5.98
        {-1, 0.5f, 1, 0},                   // negative sector: black
        // x 0.9374993; p = 0.3f * 0.7f = 0.21000001 -> 53.55; t = (1 -
        // 0.0625007 * 0.7) * 0.7 -> 170.69; V 0.7f -> 178.49999
        {40, 0.7f, 0.7f, rgb(178, 171, 54)},
        // p = (1 - 0.4f) * 0.5 = 0.29999999702, exactly between two singles;
        // stored it becomes 0.30000001 -> 76.500003 -> 77 (76 in double).
        {0, 0.4f, 0.5f, rgb(128, 77, 77)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hsvToRgb(c.h, c.s, c.v), c.out) << c.h << " " << c.s << " " << c.v;

    QString description;
    EXPECT_EQ(errorOf([] { hsvToRgb(10, 0, 0.5f); }, &description), -2147220504);
    EXPECT_EQ(description, QStringLiteral("A Hue was given with no Saturation. This is invalid."));
    EXPECT_EQ(errorOf([] { hsvToRgb(3e9f, 1, 1); }), Err::Overflow);
}

// The list form of averageColor is used by nothing in Varno.
TEST(AverageColor, SumsOverflowPastThirtyTwoBits)
{
    // Sums are 32-bit: 8,421,504 * 255 = 2,147,483,520 fits, one more does not.
    std::vector<Colour> table(8421504, rgb(255, 0, 0));
    EXPECT_EQ(averageColor(table), rgb(255, 0, 0));
    table.push_back(rgb(255, 0, 0));
    EXPECT_EQ(errorOf([&] { averageColor(table); }), Err::Overflow);
}

// Shifting by 70 each way, stopping at 0 and 255, is read off the
// navigation bars in AutoColours.ChannelsClampAndHeadingsFollow; the
// automatic colours never shift by another amount or from outside 0..255.
TEST(IsGrey, WithinFourOfBlueInSixteenBits)
{
    EXPECT_TRUE(isGrey(100, 102, 98));
    EXPECT_FALSE(isGrey(100, 105, 100));
    EXPECT_FALSE(isGrey(100, 32767, 0));  // red decides; green is never used
    // r < b - 4 decides, but b + 4 is computed as well and overflows.
    EXPECT_EQ(errorOf([] { isGrey(0, 0, 32767); }), Err::Overflow);
}
