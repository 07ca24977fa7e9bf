// Free colour functions: channel extraction and composition, the
// fraction-based HSL and HSV conversions, text and overlay colours derived
// from a colour, averaging, shifting and grey tests. Results feed theme
// files, so every rounding is fixed (see the notes per function).
#pragma once

#include "app/themecolors.h"

#include <QVariant>

#include <cstdint>
#include <span>

namespace varno {

class Prompt;

// Error numbers raised by the functions below.
namespace Err {
constexpr int ExpectedArray = 20000;
constexpr int NotNumeric = 20001;
// The application-defined error base plus 1000.
constexpr int HueWithoutSaturation = static_cast<int>(0x800403E8u);
}  // namespace Err

// r + 256 g + 65536 b, a channel above 255 taken as 255. A negative channel
// cannot be composed: Err::InvalidProcedureCall.
Colour composeColour(long long r, long long g, long long b);

// c mod 256, (c \ 256) mod 256, (c \ 65536) mod 256 with truncating
// division, so a negative c gives channels in -255..0.
int32_t redOf(Colour c);
int32_t greenOf(Colour c);
int32_t blueOf(Colour c);

float maxOf3(float a, float b, float c);
float minOf3(float a, float b, float c);

// HSL with every component a fraction 0..1, except h which is in sixths of
// the colour circle and may be -1..0 (red with some blue; not wrapped).
// Intermediates are stored as single floats, as the results depend on it.
void rgbToHslFractions(int32_t r, int32_t g, int32_t b, float &h, float &s, float &l);
void hslFractionsToRgb(float h, float s, float l, int32_t &r, int32_t &g, int32_t &b);

// Black when max + min of the channels is 255 or more, else white. An error
// is shown through `prompt` (when given) and gives 0.
Colour bestTextColor(Colour c, Prompt *prompt = nullptr);

// The colour's hue and saturation at lightness 0.6; any grey gives
// RGB(153, 153, 153). An error is shown through `prompt` (when given) and
// gives 0.
Colour lightenTransparency(Colour c, Prompt *prompt = nullptr);

// H on a 0..255 scale (rounded, then taken mod 255), S and V fractions.
// S = 0 is valid only with H = -1 (a grey of value V); otherwise it raises
// Err::HueWithoutSaturation. A negative H with S != 0 gives black.
Colour hsvToRgb(float h, float s, float v);

// Channel-wise average of the low 24 bits of each value, each channel sum
// divided by the count with truncation; sums are 32-bit (Err::Overflow past
// that). An empty list gives 0.
Colour averageColor(std::span<const Colour> colours);
// The same over a QVariantList (0-based). Not a list: Err::ExpectedArray;
// an element that is not a number: Err::NotNumeric. Floating values are
// rounded half to even first.
Colour averageColor(const QVariant &list);

// Each channel moved by `amount` toward 0 (darker) or 255 (lighter),
// stopping there. 16-bit arithmetic: Err::Overflow outside -32768..32767.
Colour shiftColor(int16_t r, int16_t g, int16_t b, bool darker, int16_t amount);

// RGB(m, m, m) with m the largest channel.
Colour greyOfMax(Colour c);

// True when |r - b| <= 4 and |b - g| <= 4. 16-bit arithmetic; both bounds
// of a comparison are computed even when one already decides it.
bool isGrey(int16_t r, int16_t g, int16_t b);

}  // namespace varno
