#include "base/rounding.h"

#include <gtest/gtest.h>

using namespace varno;

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},     {1.5, 2},   {2.5, 2},     {255.5, 256}, {-0.5, 0},
                 {-1.5, -2},   {-2.5, -2}, {0.49999, 0}, {0.50001, 1}, {120.5, 120},
                 {240.5, 240}, {-0.7, -1}, {3.0, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(nearest(c.in), c.out);
    }
}

TEST(Rounding, SixteenBitConversionsOverflow)
{
    EXPECT_EQ(cint16(32767.4), 32767);
    EXPECT_EQ(cint16(-32768.5), -32768);  // half to even stays in range
    EXPECT_THROW(cint16(32767.5), RuntimeError);
    EXPECT_THROW(cint16(-32769), RuntimeError);
    try {
        checked16(40000);
        FAIL();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number, Err::Overflow);
        EXPECT_EQ(e.description, QStringLiteral("Overflow"));
    }
}
