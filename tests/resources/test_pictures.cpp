// The embedded pictures as the preview relies on them: key colours, the
// areas it fills with theme colours or writes text over, and where the icons
// of the strips may stand.
#include "app/raster/pictureio.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace varno;

constexpr Colour Key = rgb(0, 255, 0), Red = rgb(255, 0, 0), Blue = rgb(0, 0, 255),
                 White = rgb(255, 255, 255), Black = rgb(0, 0, 0);

// Pixels of `area` for which `test(x, y, colour)` holds.
template <typename Test> static int count(const Raster &p, const QRect &area, Test test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(x, y, p.pixel(x, y)) ? 1 : 0;
    return n;
}

// Areas holding only the listed colours, the first of which appears: the
// headers and tray the preview fills with theme colours (the tray around
// white glyphs), the places it writes the clock through the key, the menu
// separators, and the dots painted on a white that is left out. A box's
// header colour is nowhere outside its header (the ramp would show through
// there), and no key pixel makes a hole inside its frame.
TEST(Pictures, AreasHoldOnlyTheirColours)
{
    const struct {
        const char *name;
        QRect area;
        std::vector<Colour> colours;
        bool box = false;
    } cases[] = {
        {"MESSAGE-SM", QRect(QPoint(2, 2), QPoint(72, 32)), {Blue}, true},
        {"MESSAGE-IMP-SM", QRect(QPoint(2, 2), QPoint(219, 33)), {Red}, true},
        {"NAVIGATION", QRect(0, 26, 240, 23), {Red, White}},
        {"NAVIGATION320", QRect(QPoint(160, 0), QPoint(319, 25)), {Key}},
        {"TITLEBAR", QRect(29, 5, 48, 16), {Key}},
        {"TITLEBAR320", QRect(148, 5, 62, 16), {Key}},
        {"MENUSE", QRect(0, 232, 150, 1), {Black}},
        {"MENU", QRect(0, 246, 150, 1), {Black}},
        {"DOTS", QRect(0, 0, 35, 35), {Red, White}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " at " << c.area.x() << "," << c.area.y());
        const Raster p = loadPictureData(customResource(c.name));
        const auto foreign = [&](int, int, Colour v) { return !std::ranges::count(c.colours, v); };
        EXPECT_EQ(count(p, c.area, foreign), 0);
        EXPECT_GT(count(p, c.area, [&](int, int, Colour v) { return v == c.colours.front(); }), 0);
        const QRect inside = c.box ? QRect(1, 1, p.width() - 2, p.height() - 2) : QRect();
        EXPECT_EQ(count(p, inside,
                        [&](int x, int y, Colour v) {
                            return v == Key || (v == c.colours.front() && !c.area.contains(x, y));
                        }),
                  0);
    }
}

// Icon strips: every icon of the full strip in columns 4-19 of its band; a
// shorter strip is the full one cut after its last icon, key elsewhere.
TEST(Pictures, StripIconsStandOnlyInTheirBands)
{
    const std::vector<QRect> bands = {QRect(4, 4, 16, 15), QRect(4, 24, 16, 14),
                                      QRect(4, 56, 16, 14), QRect(4, 112, 16, 15),
                                      QRect(4, 133, 16, 16)};
    const Raster full = loadPictureData(customResource("ICONS"));
    for (const QRect &band : bands)
        EXPECT_GT(count(full, band, [](int, int, Colour v) { return v != Key; }), 0) << band.top();
    for (const auto &[name, icons] :
         {std::pair{"ICONS", 5}, {"ICONS3", 3}, {"ICONS2", 2}, {"ICONS0", 0}}) {
        EXPECT_EQ(count(loadPictureData(customResource(name)), QRect(0, 0, 20, 177),
                        [&](int x, int y, Colour v) {
                            const bool shown =
                                std::any_of(bands.begin(), bands.begin() + icons,
                                            [&](const QRect &b) { return b.contains(x, y); });
                            return v != (shown ? full.pixel(x, y) : Key);
                        }),
                  0)
            << name;
    }
}
