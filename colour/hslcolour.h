// HslColour: a colour held both as RGB and as 240-step hue, saturation and
// luminance, with the operations that change one of H, S or L.
#pragma once

#include "app/themecolors.h"

#include <cstdint>

namespace varno {

// The four properties are plain storage: setting one never recomputes
// another. toHsl fills H/S/L from RGBColor, toRgb goes back; every
// other operation converts, changes one component and converts back, so
// its result is in RGBColor and the changed H/S/L stay in the properties.
//
// Operations return true when done. Arithmetic on H, S and L is 16-bit:
// a result outside -32768..32767 throws Err::Overflow (Brighten and Darken
// catch every error and return false instead). A channel that comes out
// negative (only from H/S/L set out of range) throws
// Err::InvalidProcedureCall.
class HslColour {
public:
    static constexpr int HSLMAX = 240;
    static constexpr int RGBMAX = 255;

    int16_t hue() const { return m_hue; }
    void setHue(int16_t h) { m_hue = h; }
    int16_t saturation() const { return m_saturation; }
    void setSaturation(int16_t s) { m_saturation = s; }
    int16_t luminance() const { return m_luminance; }
    void setLuminance(int16_t l) { m_luminance = l; }
    Colour rgbColor() const { return m_rgb; }
    void setRgbColor(Colour c) { m_rgb = c; }

    bool toHsl();
    bool toRgb();

    // White when the luminance is 120 or less, else black; no HSL round trip.
    bool contrastingColor();
    // Clamps `hue` to 0..240 (the caller sees the clamped value) and uses it.
    bool tint(int16_t &hue);
    // Luminance scaled by 1 + p (Brighten, at most 240) or 1 - p (Darken, at
    // least 0). p <= 0 changes nothing, not even H/S/L. enabled an error the
    // colour stays as the last completed step left it and the result is false.
    bool brighten(float p);
    bool darken(float p);
    bool reverseLight();
    bool reverseColor();
    // Hue moved on by 20 (a twelfth of the circle), wrapping past 240.
    bool cycleColor();
    // c1 at f <= 0, c2 at f >= 1, else a channel-wise mix; H/S/L untouched.
    bool blend(Colour c1, Colour c2, float f);

private:
    static int32_t red(Colour c);
    static int32_t green(Colour c);
    static int32_t blue(Colour c);
    static int16_t iMax(int16_t a, int16_t b);
    static int16_t iMin(int16_t a, int16_t b);
    static double hueToRgb(double a, double b, double h);

    int16_t m_hue = 0;
    int16_t m_saturation = 0;
    int16_t m_luminance = 0;
    Colour m_rgb = 0;
};

}  // namespace varno
