// HslColour conversions. Everything is computed in double precision and each
// stored value is rounded half to even; the colours end up in theme files,
// so every rounding step is kept as it is.
#include "colour/hslcolour.h"

#include "base/rounding.h"
#include "colour/colourfunctions.h"

#include <algorithm>

namespace varno {

namespace {

long long whole(double x)
{
    return static_cast<long long>(nearest(x));
}

}  // namespace

int32_t HslColour::red(Colour c)
{
    return c & 0xFF;
}

int32_t HslColour::green(Colour c)
{
    return (c & 0xFF00) / 0x100;
}

int32_t HslColour::blue(Colour c)
{
    return (c & 0xFF0000) / 0x10000;
}

int16_t HslColour::iMax(int16_t a, int16_t b)
{
    return a > b ? a : b;
}

int16_t HslColour::iMin(int16_t a, int16_t b)
{
    return a < b ? a : b;
}

bool HslColour::toHsl()
{
    // Green is masked with 0x0100FF00, so bit 24 of a colour outside
    // 0..0xFFFFFF leaks into it; kept, as stored H/S/L depend on it.
    const double r = m_rgb & 0xFF;
    const double g = (m_rgb & 0x0100FF00) / 256.0;
    const double b = (m_rgb & 0xFF0000) / 65536.0;
    const double cMax = std::max(std::max(r, g), b);
    const double cMin = std::min(std::min(r, g), b);
    const double sum = cMax + cMin;
    const double delta = cMax - cMin;
    const double l = (sum * HSLMAX + RGBMAX) / (2.0 * RGBMAX);
    double h, s;
    if (cMax == cMin) {
        // A grey: the hue is undefined and reads as 160.
        h = 160;
        s = 0;
    } else {
        if (l <= HSLMAX / 2)
            s = (delta * HSLMAX + 0.5) / sum;
        else
            s = (delta * HSLMAX + 0.5) / (2.0 * RGBMAX - sum);
        const double rd = ((cMax - r) * (HSLMAX / 6) + 0.5) / delta;
        const double gd = ((cMax - g) * (HSLMAX / 6) + 0.5) / delta;
        const double bd = ((cMax - b) * (HSLMAX / 6) + 0.5) / delta;
        if (r == cMax)
            h = bd - gd;
        else if (g == cMax)
            h = HSLMAX / 3 + rd - bd;
        else
            h = 2 * HSLMAX / 3 + gd - rd;
        if (h < 0)
            h += HSLMAX;
    }
    m_hue = cint16(h);
    m_luminance = cint16(l);
    m_saturation = cint16(s);
    return true;
}

double HslColour::hueToRgb(double a, double b, double h)
{
    if (h < 0)
        h += HSLMAX;
    else if (h > HSLMAX)
        h -= HSLMAX;
    if (h < HSLMAX / 6)
        return nearest(a + ((b - a) * h + HSLMAX / 12) / (HSLMAX / 6));
    if (h < HSLMAX / 2)
        return b;
    if (h < HSLMAX * 2 / 3)
        return nearest(a + ((b - a) * (HSLMAX * 2 / 3 - h) + HSLMAX / 12) / (HSLMAX / 6));
    return a;
}

bool HslColour::toRgb()
{
    const double h = m_hue, s = m_saturation, l = m_luminance;
    double r, g, b;
    if (s == 0) {
        r = g = b = nearest(l * RGBMAX / HSLMAX);
    } else {
        double m2;
        if (l <= HSLMAX / 2)
            m2 = nearest(((s + HSLMAX) * l + HSLMAX / 2) / HSLMAX);
        else
            m2 = nearest((s + l) - (s * l + HSLMAX / 2) / HSLMAX);
        const double m1 = 2 * l - m2;
        const auto channel = [m1, m2](double h) {
            return nearest((hueToRgb(m1, m2, h) * RGBMAX + HSLMAX / 2) / HSLMAX);
        };
        r = channel(nearest(h + HSLMAX / 3));
        g = channel(h);
        b = channel(nearest(h - HSLMAX / 3));
    }
    // The top of the scale rounds to 256; composing caps it at 255.
    m_rgb = composeColour(whole(r), whole(g), whole(b));
    return true;
}

bool HslColour::contrastingColor()
{
    toHsl();
    m_rgb = m_luminance <= HSLMAX / 2 ? 0xFFFFFF : 0x000000;
    return true;
}

bool HslColour::tint(int16_t &hue)
{
    toHsl();
    hue = std::clamp<int16_t>(hue, 0, HSLMAX);
    m_hue = hue;
    return toRgb();
}

bool HslColour::brighten(float p)
{
    if (p <= 0)
        return true;
    try {
        toHsl();
        m_luminance = iMin(cint16(m_luminance + m_luminance * double(p)), HSLMAX);
        return toRgb();
    } catch (...) {
        return false;
    }
}

bool HslColour::darken(float p)
{
    if (p <= 0)
        return true;
    try {
        toHsl();
        m_luminance = iMax(cint16(m_luminance - m_luminance * double(p)), 0);
        return toRgb();
    } catch (...) {
        return false;
    }
}

bool HslColour::reverseLight()
{
    toHsl();
    m_luminance = checked16(HSLMAX - m_luminance);
    return toRgb();
}

bool HslColour::reverseColor()
{
    toHsl();
    m_hue = checked16(HSLMAX - m_hue);
    return toRgb();
}

bool HslColour::cycleColor()
{
    toHsl();
    m_hue = checked16(m_hue + HSLMAX / 12);
    if (m_hue > HSLMAX)
        m_hue = checked16(m_hue - HSLMAX);
    return toRgb();
}

bool HslColour::blend(Colour c1, Colour c2, float f)
{
    if (f >= 1) {
        m_rgb = c2;
    } else if (f <= 0) {
        m_rgb = c1;
    } else {
        const double a = 1.0 - f, b = f;
        m_rgb =
            composeColour(whole(a * red(c1) + b * red(c2)), whole(a * green(c1) + b * green(c2)),
                          whole(a * blue(c1) + b * blue(c2)));
    }
    return true;
}

}  // namespace varno
