// CColors conversions. Everything is computed in double precision and each
// stored value is rounded half to even; the colours end up in theme files,
// so every rounding step is kept as it is.
#include "colour/ccolors.h"

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

int32_t CColors::red(Colour c)
{
    return c & 0xFF;
}

int32_t CColors::green(Colour c)
{
    return (c & 0xFF00) / 0x100;
}

int32_t CColors::blue(Colour c)
{
    return (c & 0xFF0000) / 0x10000;
}

int16_t CColors::iMax(int16_t a, int16_t b)
{
    return a > b ? a : b;
}

int16_t CColors::iMin(int16_t a, int16_t b)
{
    return a < b ? a : b;
}

bool CColors::RGBtoHSL()
{
    // 1. Green is masked with 0x0100FF00, so bit 24 of a colour outside
    // 0..0xFFFFFF leaks into it; kept, as stored H/S/L depend on it.
    const double R = m_rgb & 0xFF;
    const double G = (m_rgb & 0x0100FF00) / 256.0;
    const double B = (m_rgb & 0xFF0000) / 65536.0;
    // 2.
    const double cMax = std::max(std::max(R, G), B);
    const double cMin = std::min(std::min(R, G), B);
    const double sum = cMax + cMin;
    const double delta = cMax - cMin;
    // 3.
    const double L = (sum * HSLMAX + RGBMAX) / (2.0 * RGBMAX);
    double H, S;
    if (cMax == cMin) {
        // 4. A grey: the hue is undefined and reads as 160.
        H = 160;
        S = 0;
    } else {
        // 5.
        if (L <= HSLMAX / 2)
            S = (delta * HSLMAX + 0.5) / sum;
        else
            S = (delta * HSLMAX + 0.5) / (2.0 * RGBMAX - sum);
        const double Rd = ((cMax - R) * (HSLMAX / 6) + 0.5) / delta;
        const double Gd = ((cMax - G) * (HSLMAX / 6) + 0.5) / delta;
        const double Bd = ((cMax - B) * (HSLMAX / 6) + 0.5) / delta;
        if (R == cMax)
            H = Bd - Gd;
        else if (G == cMax)
            H = HSLMAX / 3 + Rd - Bd;
        else
            H = 2 * HSLMAX / 3 + Gd - Rd;
        if (H < 0)
            H += HSLMAX;
    }
    // 6.
    m_hue = cint16(H);
    m_luminance = cint16(L);
    m_saturation = cint16(S);
    return true;
}

double CColors::HueToRGB(double a, double b, double h)
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

bool CColors::HSLtoRGB()
{
    const double H = m_hue, S = m_saturation, L = m_luminance;
    double R, G, B;
    if (S == 0) {
        // 1.
        R = G = B = nearest(L * RGBMAX / HSLMAX);
    } else {
        // 2.
        double M2;
        if (L <= HSLMAX / 2)
            M2 = nearest(((S + HSLMAX) * L + HSLMAX / 2) / HSLMAX);
        else
            M2 = nearest((S + L) - (S * L + HSLMAX / 2) / HSLMAX);
        const double M1 = 2 * L - M2;
        // 3.
        const auto channel = [&](double h) {
            return nearest((HueToRGB(M1, M2, h) * RGBMAX + HSLMAX / 2) / HSLMAX);
        };
        R = channel(nearest(H + HSLMAX / 3));
        G = channel(H);
        B = channel(nearest(H - HSLMAX / 3));
    }
    // 4. The top of the scale rounds to 256; composing caps it at 255.
    m_rgb = composeColour(whole(R), whole(G), whole(B));
    return true;
}

bool CColors::ContrastingColor()
{
    RGBtoHSL();
    m_rgb = m_luminance <= HSLMAX / 2 ? 0xFFFFFF : 0x000000;
    return true;
}

bool CColors::Tint(int16_t &hue)
{
    RGBtoHSL();
    hue = std::clamp<int16_t>(hue, 0, HSLMAX);
    m_hue = hue;
    return HSLtoRGB();
}

bool CColors::Brighten(float p)
{
    if (p <= 0)
        return true;
    try {
        RGBtoHSL();
        m_luminance = iMin(cint16(m_luminance + m_luminance * double(p)), HSLMAX);
        return HSLtoRGB();
    } catch (...) {
        return false;
    }
}

bool CColors::Darken(float p)
{
    if (p <= 0)
        return true;
    try {
        RGBtoHSL();
        m_luminance = iMax(cint16(m_luminance - m_luminance * double(p)), 0);
        return HSLtoRGB();
    } catch (...) {
        return false;
    }
}

bool CColors::ReverseLight()
{
    RGBtoHSL();
    m_luminance = checked16(HSLMAX - m_luminance);
    return HSLtoRGB();
}

bool CColors::ReverseColor()
{
    RGBtoHSL();
    m_hue = checked16(HSLMAX - m_hue);
    return HSLtoRGB();
}

bool CColors::CycleColor()
{
    RGBtoHSL();
    m_hue = checked16(m_hue + HSLMAX / 12);
    if (m_hue > HSLMAX)
        m_hue = checked16(m_hue - HSLMAX);
    return HSLtoRGB();
}

bool CColors::Blend(Colour c1, Colour c2, float f)
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
