#include "colour/autocolours.h"

#include "base/rounding.h"
#include "base/trap.h"
#include "colour/ccolors.h"
#include "colour/colortable.h"
#include "colour/colourfunctions.h"

#include <vector>

namespace varno {

void AutoColorAverage(Prompt &prompt, AutoColourScene &scene)
{
    trap(prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("AutoColorAverage"), [&] {
             // 1.
             if (scene.preview().isNull())
                 return;
             // 2.
             scene.redraw(QStringLiteral("MAIN"));
             prompt.SetBusy(true);
             // 3. Rows 25 .. 292 of the preview, 240 columns each.
             const Raster &shown = scene.preview();
             std::vector<Colour> table(AutoColourSamples, 0);
             size_t next = 0;
             for (int y = 0; y < AutoColourSampledRows; ++y)
                 for (int x = 0; x < 240; ++x)
                     table[next++] = shown.pixel(x, y + 25);
             // 4.
             const Colour avg = AverageColor(std::span<const Colour>(table));
             const int r = RedOf(avg), g = GreenOf(avg), b = BlueOf(avg);
             ThemeColors &c = scene.colours.Colors;
             // 5, 6.
             c[NavBarLeft] = ShiftColor(checked16(r), checked16(g), checked16(b), true, 70);
             c[NavBarRight] = ShiftColor(checked16(r), checked16(g), checked16(b), false, 70);
             FollowHeadings(c, scene.Headings);
             // 7.
             c[CommandBar] = avg;
             scene.redraw(QStringLiteral("MENU"));
             // 8.
             scene.colours.Menu.Color = LightenTransparency(avg, &prompt);
             scene.colours.Menu.Level = 130;
             scene.colours.Menu.On = true;
             // 9.
             const Colour text = BestTextColor(avg, &prompt);
             c[NavBarText] = scene.Wm5Theme ? RGB(255, 255, 255) : text;
             c[MenuText] = text;
             c[TodayTextColor] = text;
             c[TodayLines] = text;
             scene.MenuShowing = true;
             // 10.
             if (scene.Wm5Theme) {
                 CColors cc;
                 cc.setRGBColor(avg);
                 cc.RGBtoHSL();
                 const int hue = cc.Hue();
                 if (!IsGrey(checked16(r), checked16(g), checked16(b))) {
                     c.BaseHueColor = HSV_to_RGB(static_cast<float>(hue), 0.7f, 0.7f);
                     c.BaseHueIndex = hue + 256;
                 } else {
                     const double t = nearest(hue / 256.0 * 40);
                     // The product is formed in double and handed over as single.
                     const float level = static_cast<float>((t + 100) * 0.0049);
                     c.BaseHueColor = HSV_to_RGB(static_cast<float>(t + 100), level, level);
                     c.BaseHueIndex = hue;
                 }
             }
             // 11.
             scene.redraw(QStringLiteral("MENU"));
             prompt.SetBusy(false);
         });
}

}  // namespace varno
