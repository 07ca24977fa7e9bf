// Pictures of one colour, as most tests need them.
#pragma once

#include "app/raster/raster.h"

namespace varno::test {

inline Raster filled(int width, int height, Colour colour)
{
    Raster r(width, height);
    r.fill(colour);
    return r;
}

}  // namespace varno::test
