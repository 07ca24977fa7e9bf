// The base-hue palettes: greys first, then hues, one-based.
#include "colour/palettes.h"

#include "base/runtimeerror.h"

#include <gtest/gtest.h>

using namespace varno;

TEST(PaletteColor, GreysThenHues)
{
    const Palettes p = buildPalettes();
    EXPECT_EQ(paletteColor(p, 1), rgb(99, 101, 99));
    EXPECT_EQ(paletteColor(p, 256), rgb(115, 113, 115));
    EXPECT_EQ(paletteColor(p, 257), rgb(214, 52, 49));
    EXPECT_EQ(paletteColor(p, 297), rgb(214, 211, 49));  // hue entry 41
    EXPECT_EQ(paletteColor(p, 512), rgb(214, 52, 156));
    for (const int position : {0, 513}) {
        try {
            paletteColor(p, position);
            ADD_FAILURE() << position;
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number, Err::SubscriptOutOfRange);
        }
    }
}
