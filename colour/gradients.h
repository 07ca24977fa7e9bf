// Horizontal colour ramps: the plain two-colour ramp of the title bar and
// the Today lines, and the two Windows Mobile 5 ramps derived from the base
// hue that replace it in such themes.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "base/prompt.h"

#include <cstdint>

namespace varno {

// What the ramps read from the theme.
struct RampTheme {
    bool wm5Theme = false;
    int32_t baseHueIndex = 417;
    Colour baseHueColor = rgb(54, 83, 178);
};

// A ramp from A to B over `width` columns, each a vertical line from row
// `top` to row `top + height` (both included). In a WM5 theme, unless
// `plain`, the hue or grey ramp of the base hue is drawn instead (A and B
// unused). `left` shifts the plain ramp (column x is drawn at left + x;
// what falls outside the target is clipped). Errors are shown in the long
// form tagged "(DoGradient)".
void drawRamp(Prompt &prompt, const RampTheme &theme, Colour a, Colour b, Raster &target,
              int16_t width, int16_t height, int16_t top, bool plain, int16_t left = 0);

// The symmetric hue ramp: the base colour at both edges, brightened by
// 0.5 % a column towards the middle. Errors: "Error in EditorSession: Sub
// DoGradientWM5".
void drawHueRamp(Prompt &prompt, const RampTheme &theme, Raster &target, int16_t width,
                 int16_t height);

// The grey ramp: as the hue ramp from `colour`, each line made grey at the
// level of its brightest channel. A null target is first made width x height.
void drawGreyRamp(Raster &target, int16_t width, int16_t height, Colour colour);

}  // namespace varno
