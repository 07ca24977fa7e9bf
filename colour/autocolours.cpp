#include "colour/autocolours.h"

#include "base/rounding.h"
#include "base/trap.h"
#include "colour/hslcolour.h"
#include "colour/colortable.h"
#include "colour/colourfunctions.h"

#include <vector>

namespace varno {

void autoColorAverage(Prompt &prompt, AutoColourScene &scene)
{
    trap(prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("AutoColorAverage"), [&] {
             if (scene.preview().isNull())
                 return;
             scene.redraw(QStringLiteral("MAIN"));
             prompt.setBusy(true);
             // Rows 25 .. 292 of the preview, 240 columns each.
             const Raster &shown = scene.preview();
             std::vector<Colour> table(AutoColourSamples, 0);
             size_t next = 0;
             for (int y = 0; y < AutoColourSampledRows; ++y)
                 for (int x = 0; x < 240; ++x)
                     table[next++] = shown.pixel(x, y + 25);
             const Colour avg = averageColor(std::span<const Colour>(table));
             const int r = redOf(avg), g = greenOf(avg), b = blueOf(avg);
             ThemeColors &c = scene.colours.colors;
             // 5, 6.
             c[NavBarLeft] = shiftColor(checked16(r), checked16(g), checked16(b), true, 70);
             c[NavBarRight] = shiftColor(checked16(r), checked16(g), checked16(b), false, 70);
             followHeadings(c, scene.headings);
             c[CommandBar] = avg;
             scene.redraw(QStringLiteral("MENU"));
             scene.colours.menu.color = lightenTransparency(avg, &prompt);
             scene.colours.menu.level = 130;
             scene.colours.menu.enabled = true;
             const Colour text = bestTextColor(avg, &prompt);
             c[NavBarText] = scene.wm5Theme ? rgb(255, 255, 255) : text;
             c[MenuText] = text;
             c[TodayTextColor] = text;
             c[TodayLines] = text;
             scene.menuShowing = true;
             if (scene.wm5Theme) {
                 HslColour cc;
                 cc.setRgbColor(avg);
                 cc.toHsl();
                 const int hue = cc.hue();
                 if (!isGrey(checked16(r), checked16(g), checked16(b))) {
                     c.baseHueColor = hsvToRgb(static_cast<float>(hue), 0.7f, 0.7f);
                     c.baseHueIndex = hue + 256;
                 } else {
                     const double t = nearest(hue / 256.0 * 40);
                     // The product is formed in double and handed over as single.
                     const float level = static_cast<float>((t + 100) * 0.0049);
                     c.baseHueColor = hsvToRgb(static_cast<float>(t + 100), level, level);
                     c.baseHueIndex = hue;
                 }
             }
             scene.redraw(QStringLiteral("MENU"));
             prompt.setBusy(false);
         });
}

}  // namespace varno
