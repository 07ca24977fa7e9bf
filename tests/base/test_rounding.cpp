#include "base/rounding.h"

#include <gtest/gtest.h>

using namespace varno;

TEST(Rounding, HalvesGoToTheEvenNeighbourAndSixteenBitsOverflow)
{
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},   {1.5, 2},     {2.5, 2},     {-0.5, 0},
                 {-1.5, -2}, {0.49999, 0}, {0.50001, 1}, {-0.7, -1}};
    for (const auto &c : cases)
        EXPECT_EQ(nearest(c.in), c.out) << c.in;
    EXPECT_EQ(cint16(32767.4), 32767);
    EXPECT_EQ(cint16(-32768.5), -32768);  // half to even stays in range
    EXPECT_THROW(cint16(32767.5), RuntimeError);
    EXPECT_THROW(cint16(-32769), RuntimeError);
    EXPECT_THROW(checked16(40000), RuntimeError);
}
