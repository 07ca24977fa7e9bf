// Number conversions with the program's rounding: a floating value becomes an
// integer by rounding to nearest with exact halves going to the even
// neighbour, independent of the FPU's current rounding mode.
#pragma once

#include "base/runtimeerror.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace varno {

inline double nearest(double x)
{
    const double f = std::floor(x);
    const double d = x - f;
    if (d > 0.5)
        return f + 1.0;
    if (d < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// 16-bit integer result; outside -32768..32767 is the overflow error.
inline int16_t cint16(double x)
{
    const double r = nearest(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw runtimeError(Err::Overflow);
    return static_cast<int16_t>(r);
}

// 32-bit integer result with the same overflow rule.
inline int32_t clng(double x)
{
    const double r = nearest(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw runtimeError(Err::Overflow);
    return static_cast<int32_t>(r);
}

// 16-bit integer arithmetic: the result must fit, as on the device side.
inline int16_t checked16(long long v)
{
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw runtimeError(Err::Overflow);
    return static_cast<int16_t>(v);
}

}  // namespace varno
