// The embedded pictures as the preview relies on them: sizes, key colours,
// the areas it fills with theme colours or writes text over, and where the
// icons of the strips and menus may stand.
#include "app/raster/pictureio.h"
#include "resources/resources.h"

#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>

using namespace varno;

namespace {

constexpr Colour Key = rgb(0, 255, 0), Red = rgb(255, 0, 0), Blue = rgb(0, 0, 255),
                 White = rgb(255, 255, 255), Black = rgb(0, 0, 0);

Raster picture(const char *name)
{
    return loadPictureData(customResource(QString::fromLatin1(name)));
}

// Pixels of `area` for which `test` holds.
int count(const Raster &p, const QRect &area, const std::function<bool(int, int, Colour)> &test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(x, y, p.pixel(x, y)) ? 1 : 0;
    return n;
}

int countNot(const Raster &p, const QRect &area, Colour c)
{
    return count(p, area, [c](int, int, Colour v) { return v != c; });
}

// Areas holding only the listed colours, the first of which appears: the
// headers and tray the preview fills with theme colours (the tray around
// white glyphs), the places it writes "Start", the profile and the clock
// through the key, the menu frame and separators, and the dots painted on a
// white that is left out.
TEST(Pictures, AreasHoldOnlyTheirColours)
{
    const struct {
        const char *name;
        QRect area;
        std::vector<Colour> colours;
    } cases[] = {
        {"MESSAGE-SM", QRect(QPoint(2, 2), QPoint(72, 32)), {Blue}},
        {"MESSAGE-IMP-SM", QRect(QPoint(2, 2), QPoint(219, 33)), {Red}},
        {"NAVIGATION", QRect(0, 26, 240, 23), {Red, White}},
        {"NAVIGATION", QRect(142, 0, 18, 26), {Red, White, Key}},
        {"NAVIGATION", QRect(QPoint(0, 0), QPoint(141, 25)), {Key}},
        {"NAVIGATION", QRect(QPoint(160, 0), QPoint(239, 25)), {Key}},
        {"NAVIGATION320", QRect(0, 26, 320, 23), {Red, White}},
        {"NAVIGATION320", QRect(QPoint(160, 0), QPoint(319, 25)), {Key}},
        {"TITLEBAR", QRect(29, 5, 48, 16), {Key}},
        {"TITLEBAR", QRect(185, 5, 29, 16), {Key}},
        {"TITLEBAR320", QRect(148, 5, 62, 16), {Key}},
        {"TITLEBAR320", QRect(265, 5, 29, 16), {Key}},
        {"MENUSE", QRect(0, 0, 150, 1), {Black}},
        {"MENUSE", QRect(0, 232, 150, 1), {Black}},
        {"MENUSE", QRect(0, 286, 150, 1), {Black}},
        {"MENU", QRect(0, 0, 150, 1), {Black}},
        {"MENU", QRect(0, 246, 150, 1), {Black}},
        {"MENU", QRect(0, 286, 150, 1), {Black}},
        {"DOTS", QRect(0, 0, 35, 35), {Red, White}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " at " << c.area.x() << "," << c.area.y());
        const Raster p = picture(c.name);
        const auto &ok = c.colours;
        EXPECT_EQ(count(p, c.area,
                        [&](int, int, Colour v) { return !std::count(ok.begin(), ok.end(), v); }),
                  0);
        EXPECT_GT(count(p, c.area, [&](int, int, Colour v) { return v == ok.front(); }), 0);
    }
}

// Box pictures: the header colour nowhere outside the header (the ramp would
// show through there), and no key pixel making a hole inside the frame.
TEST(Pictures, MessageBoxesKeepHeaderColourInHeaderAndHaveNoHoles)
{
    for (const auto &[name, header, colour] :
         {std::tuple{"MESSAGE-SM", QRect(QPoint(2, 2), QPoint(72, 32)), Blue},
          std::tuple{"MESSAGE-IMP-SM", QRect(QPoint(2, 2), QPoint(219, 33)), Red}}) {
        SCOPED_TRACE(name);
        const Raster p = picture(name);
        const QRect inside(1, 1, p.width() - 2, p.height() - 2);
        EXPECT_EQ(count(p, inside,
                        [&](int x, int y, Colour v) {
                            return v == Key || (v == colour && !header.contains(x, y));
                        }),
                  0);
    }
}

// Icon strips: every icon of the full strip in columns 4-19 of its band; a
// shorter strip is the full one cut after its last icon, key elsewhere.
TEST(Pictures, StripIconsStandOnlyInTheirBands)
{
    std::vector<QRect> bands;
    for (const auto &[top, bottom] : {std::pair{4, 18}, {24, 37}, {56, 69}, {112, 126}, {133, 148}})
        bands.push_back(QRect(QPoint(4, top), QPoint(19, bottom)));
    const Raster full = picture("ICONS");
    for (const QRect &band : bands)
        EXPECT_GT(countNot(full, band, Key), 0) << "band at row " << band.top();
    for (const auto &[name, icons] :
         {std::pair{"ICONS", 5}, {"ICONS3", 3}, {"ICONS2", 2}, {"ICONS0", 0}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(count(picture(name), QRect(0, 0, 20, 177),
                        [&](int x, int y, Colour v) {
                            const bool shown =
                                std::any_of(bands.begin(), bands.begin() + icons,
                                            [&](const QRect &b) { return b.contains(x, y); });
                            return v != (shown ? full.pixel(x, y) : Key);
                        }),
                  0);
    }
}

// The large default is the same picture at double size: each pixel of the
// small one is the mean of a 2 x 2 block of the large one.
TEST(Pictures, LargeDefaultIsTheDefaultAtDoubleSize)
{
    const Raster small = picture("DEFAULT"), large = picture("DEFAULT640");
    auto channel = [](Colour c, int shift) { return (c >> shift) & 0xFF; };
    int worst = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            for (int shift : {0, 8, 16}) {
                int sum = 0;
                for (int d = 0; d < 4; ++d)
                    sum += channel(large.pixel(2 * x + d % 2, 2 * y + d / 2), shift);
                worst = std::max(worst, std::abs(4 * channel(small.pixel(x, y), shift) - sum));
            }
    EXPECT_LE(worst, 4);  // within one step of the mean
}

}  // namespace
