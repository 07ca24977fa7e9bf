// Free colour functions. The fraction-based ones compute each step in double
// and store it as a single float: some channels land exactly between two
// singles, so where the rounding happens is part of the result.
#include "colour/colourfunctions.h"

#include "base/prompt.h"
#include "base/rounding.h"
#include "base/runtimeerror.h"
#include "base/trap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varno {

namespace {

// The two procedures that trap their own errors answer 0 after the box.
template <typename Body> Colour trapFunction(Prompt *prompt, const char *procedure, Body body)
{
    try {
        return body();
    } catch (...) {
        const RuntimeError e = currentError();
        if (prompt)
            showErrorBox(*prompt, e, QStringLiteral("Module1"), QStringLiteral("Function"),
                         QLatin1String(procedure));
        return 0;
    }
}

// Channel sums of AverageColor, kept in 32 bits: a list too long for that is
// the overflow error rather than a silently wrapped average.
class ChannelSums {
public:
    // Only the low 24 bits of a value count, byte by byte as BBGGRR.
    void add(int32_t value)
    {
        const auto v = static_cast<uint32_t>(value);
        add32(m_red, v & 0xFF);
        add32(m_green, (v >> 8) & 0xFF);
        add32(m_blue, (v >> 16) & 0xFF);
    }

    // An empty list counts as -1 elements (it is taken as 1-based with an
    // upper bound of -1), so its average is 0 \ -1 = 0, never a division by
    // zero.
    Colour average(long long count) const
    {
        if (count == 0)
            count = -1;
        return composeColour(m_red / count, m_green / count, m_blue / count);
    }

private:
    static void add32(int32_t &sum, uint32_t v)
    {
        if (sum > std::numeric_limits<int32_t>::max() - static_cast<int32_t>(v))
            throw runtimeError(Err::Overflow);
        sum += static_cast<int32_t>(v);
    }

    int32_t m_red = 0, m_green = 0, m_blue = 0;
};

// The value of a list element as a 32-bit integer, or the not-numeric error.
int32_t numericValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return clng(v.toDouble());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char: {
        const qlonglong x = v.toLongLong();
        if (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
            throw runtimeError(Err::Overflow);
        return static_cast<int32_t>(x);
    }
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar: {
        const qulonglong x = v.toULongLong();
        if (x > static_cast<qulonglong>(std::numeric_limits<int32_t>::max()))
            throw runtimeError(Err::Overflow);
        return static_cast<int32_t>(x);
    }
    default:
        throw RuntimeError(Err::NotNumeric, QStringLiteral("Varno"),
                           QStringLiteral("At least one element in the array is not numeric"));
    }
}

}  // namespace

Colour composeColour(long long r, long long g, long long b)
{
    if (r < 0 || g < 0 || b < 0)
        throw runtimeError(Err::InvalidProcedureCall);
    return static_cast<Colour>(std::min(r, 255LL) + 256 * std::min(g, 255LL) +
                               65536 * std::min(b, 255LL));
}

int32_t redOf(Colour c)
{
    return c % 256;
}

int32_t greenOf(Colour c)
{
    return (c / 256) % 256;
}

int32_t blueOf(Colour c)
{
    return (c / 65536) % 256;
}

float maxOf3(float a, float b, float c)
{
    float m = a;
    if (b > m)
        m = b;
    if (c > m)
        m = c;
    return m;
}

float minOf3(float a, float b, float c)
{
    float m = a;
    if (b < m)
        m = b;
    if (c < m)
        m = c;
    return m;
}

void rgbToHslFractions(int32_t r, int32_t g, int32_t b, float &h, float &s, float &l)
{
    const auto rf = static_cast<float>(r / 255.0);
    const auto gf = static_cast<float>(g / 255.0);
    const auto bf = static_cast<float>(b / 255.0);
    const float mx = maxOf3(rf, gf, bf);
    const float mn = minOf3(rf, gf, bf);
    l = static_cast<float>((double(mx) + mn) / 2.0);
    if (mx == mn) {
        s = 0;
        h = 0;
        return;
    }
    if (l <= 0.5f)
        s = static_cast<float>((double(mx) - mn) / (double(mx) + mn));
    else
        s = static_cast<float>((double(mx) - mn) / (2.0 - mx - mn));
    const auto d = static_cast<float>(double(mx) - mn);
    if (rf == mx)
        h = static_cast<float>((double(gf) - bf) / d);
    else if (gf == mx)
        h = static_cast<float>(2.0 + (double(bf) - rf) / d);
    else
        h = static_cast<float>(4.0 + (double(rf) - gf) / d);
}

void hslFractionsToRgb(float h, float s, float l, int32_t &r, int32_t &g, int32_t &b)
{
    float red, green, blue;
    if (s == 0) {
        red = green = blue = l;
    } else {
        const auto m1 = static_cast<float>(l > 0.5f ? l - (1.0 - l) * s : (1.0 - s) * l);
        const auto m2 = static_cast<float>(2.0 * l - m1);
        const auto k = static_cast<float>(double(m2) - m1);
        const auto ramp = [&](double base, double sign, double offset) {
            return static_cast<float>(base + sign * k * (double(h) - offset));
        };
        if (h < 0) {
            red = m2, green = m1, blue = ramp(m1, -1, 0);
        } else if (h < 1) {
            red = m2, green = ramp(m1, 1, 0), blue = m1;
        } else if (h < 2) {
            red = ramp(m1, -1, 2), green = m2, blue = m1;
        } else if (h < 3) {
            red = m1, green = m2, blue = ramp(m1, 1, 2);
        } else if (h < 4) {
            red = m1, green = ramp(m1, -1, 4), blue = m2;
        } else {
            red = ramp(m1, 1, 4), green = m1, blue = m2;
        }
    }
    r = clng(double(red) * 255.0);
    g = clng(double(green) * 255.0);
    b = clng(double(blue) * 255.0);
}

Colour bestTextColor(Colour c, Prompt *prompt)
{
    return trapFunction(prompt, "BestTextColor", [&] {
        float h, s, l;
        rgbToHslFractions(redOf(c), greenOf(c), blueOf(c), h, s, l);
        l = l >= 0.5f ? 0.0f : 1.0f;
        int32_t r, g, b;
        hslFractionsToRgb(h, s, l, r, g, b);
        return composeColour(r, g, b);
    });
}

Colour lightenTransparency(Colour c, Prompt *prompt)
{
    return trapFunction(prompt, "LightenTransparency", [&] {
        float h, s, l;
        rgbToHslFractions(redOf(c), greenOf(c), blueOf(c), h, s, l);
        l = 0.6f;
        int32_t r, g, b;
        hslFractionsToRgb(h, s, l, r, g, b);
        return composeColour(r, g, b);
    });
}

Colour hsvToRgb(float h, float s, float v)
{
    float red = 0, green = 0, blue = 0;
    if (s != 0) {
        // The hue wheel is 255 wide in six sectors of 42.6667.
        const auto x = static_cast<float>((clng(h) % 255) / 42.6667);
        const float i = std::floor(x);
        const auto f = static_cast<float>(double(x) - i);
        const auto p = static_cast<float>((1.0 - s) * v);
        const auto q = static_cast<float>((1.0 - double(f) * s) * v);
        const auto t = static_cast<float>((1.0 - (1.0 - f) * double(s)) * v);
        switch (static_cast<int>(i)) {
        case 0: red = v, green = t, blue = p; break;
        case 1: red = q, green = v, blue = p; break;
        case 2: red = p, green = v, blue = t; break;
        case 3: red = p, green = q, blue = v; break;
        case 4: red = t, green = p, blue = v; break;
        case 5: red = v, green = p, blue = q; break;
        default: break;  // a negative hue: black
        }
    } else if (h == -1) {
        red = green = blue = v;
    } else {
        throw RuntimeError(Err::HueWithoutSaturation, QStringLiteral("HSV_to_RGB"),
                           QStringLiteral("A Hue was given with no Saturation. This is invalid."));
    }
    return composeColour(clng(double(red) * 255.0), clng(double(green) * 255.0),
                         clng(double(blue) * 255.0));
}

Colour averageColor(std::span<const Colour> colours)
{
    ChannelSums sums;
    for (const Colour c : colours)
        sums.add(c);
    return sums.average(static_cast<long long>(colours.size()));
}

Colour averageColor(const QVariant &list)
{
    if (list.typeId() != QMetaType::QVariantList)
        throw RuntimeError(Err::ExpectedArray, QStringLiteral("Varno"),
                           QStringLiteral("Expected: Array"));
    const QVariantList items = list.toList();
    ChannelSums sums;
    for (const QVariant &v : items)
        sums.add(numericValue(v));
    return sums.average(items.size());
}

Colour shiftColor(int16_t r, int16_t g, int16_t b, bool darker, int16_t amount)
{
    const auto shift = [&](int16_t channel) -> long long {
        if (darker)
            return std::max<int16_t>(checked16(channel - amount), 0);
        return std::min<int16_t>(checked16(channel + amount), 255);
    };
    const long long red = shift(r), green = shift(g), blue = shift(b);
    return composeColour(red, green, blue);
}

Colour greyOfMax(Colour c)
{
    const int32_t m = std::max(greenOf(c), std::max(blueOf(c), redOf(c)));
    return composeColour(m, m, m);
}

bool isGrey(int16_t r, int16_t g, int16_t b)
{
    const int16_t bLow = checked16(b - 4), bHigh = checked16(b + 4);
    if (r < bLow || r > bHigh)
        return false;
    const int16_t gLow = checked16(g - 4), gHigh = checked16(g + 4);
    if (b < gLow || b > gHigh)
        return false;
    return true;
}

}  // namespace varno
