#include "colour/gradients.h"

#include "base/rounding.h"
#include "base/trap.h"
#include "colour/hslcolour.h"
#include "colour/colourfunctions.h"

namespace varno {

namespace {

// Lines at i and width - i for i = 0 .. nearest(width / 2), each in the
// base colour brightened afresh by i x 0.5 %.
template <typename Shade>
void symmetricRamp(Raster &target, int16_t width, int16_t height, Colour base, Shade shade)
{
    const int last = static_cast<int>(nearest(width / 2.0));
    HslColour cc;
    for (int i = 0; i <= last; ++i) {
        cc.setRgbColor(base);
        cc.brighten(static_cast<float>(i * 0.005));
        target.setDrawColour(shade(cc.rgbColor()));
        target.drawLine(i, 0, i, height);
        target.drawLine(width - i, 0, width - i, height);
    }
}

void plainRamp(Colour a, Colour b, Raster &target, int16_t width, int16_t height, int16_t top,
               int16_t left)
{
    // Working values in single precision, as the ramps have always been.
    const float startR = static_cast<float>(redOf(a));
    const float startG = static_cast<float>(greenOf(a));
    const float startB = static_cast<float>(blueOf(a));
    const float stepR = (static_cast<float>(redOf(b)) - startR) / static_cast<float>(width);
    const float stepG = (static_cast<float>(greenOf(b)) - startG) / static_cast<float>(width);
    const float stepB = (static_cast<float>(blueOf(b)) - startB) / static_cast<float>(width);
    for (int x = 0; x < width; ++x) {
        const float fx = static_cast<float>(x);
        const float r = fx * stepR + startR;
        const float g = fx * stepG + startG;
        const float bl = fx * stepB + startB;
        target.setDrawColour(composeColour(static_cast<long long>(nearest(r)),
                                           static_cast<long long>(nearest(g)),
                                           static_cast<long long>(nearest(bl))));
        target.drawLine(left + x, top, left + x, top + height);
    }
}

}  // namespace

void drawGreyRamp(Raster &target, int16_t width, int16_t height, Colour colour)
{
    if (target.isNull())
        target.create(width, height);
    symmetricRamp(target, width, height, colour, [](Colour c) { return greyOfMax(c); });
}

void drawHueRamp(Prompt &prompt, const RampTheme &theme, Raster &target, int16_t width,
                 int16_t height)
{
    trap(prompt, QStringLiteral("Module1"), QStringLiteral("Sub"), QStringLiteral("DoGradientWM5"),
         [&] {
             symmetricRamp(target, width, height, theme.baseHueColor, [](Colour c) { return c; });
         });
}

void drawRamp(Prompt &prompt, const RampTheme &theme, Colour a, Colour b, Raster &target,
              int16_t width, int16_t height, int16_t top, bool plain, int16_t left)
{
    trapLong(prompt, QStringLiteral("DoGradient"), [&] {
        if (!theme.wm5Theme || plain)
            plainRamp(a, b, target, width, height, top, left);
        else if (theme.baseHueIndex > 255)
            drawHueRamp(prompt, theme, target, width, height);
        else
            drawGreyRamp(target, width, height, theme.baseHueColor);
    });
}

}  // namespace varno
