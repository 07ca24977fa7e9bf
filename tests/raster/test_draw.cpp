// Lines pixel by pixel. Device text is checked column by column and on
// whole screens in the preview tests; rectangles are drawn by nothing in
// Varno.
#include "pictures.h"

#include <set>

using namespace varno;
using namespace varno::test;

namespace {

using Points = std::set<std::pair<int, int>>;

Points pixelsOf(const Raster &r, Colour c)
{
    Points out;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) == c)
                out.insert({x, y});
    return out;
}

const Colour Pen = rgb(255, 0, 0);

}  // namespace

TEST(Drawing, LinesIncludeBothEndsAndClip)
{
    const struct {
        int x1, y1, x2, y2;
        Points expected;
    } cases[] = {
        {3, 3, 3, 3, {{3, 3}}},
        {-1000000000, 3, 1000000000, 3, {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}},
        {0, 4, 5, 4, {}},
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {0, 0, 2, 3, {{0, 0}, {1, 1}, {1, 2}, {2, 3}}},
    };
    for (const auto &c : cases) {
        Raster r(6, 4);
        r.setDrawColour(Pen);
        r.drawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(pixelsOf(r, Pen), c.expected) << c.x1 << "," << c.y1 << " " << c.x2;
    }
}
