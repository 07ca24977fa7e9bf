// Lines and outlines pixel by pixel; text by where it lands and how it
// looks, not by exact glyphs, which depend on the fonts installed.
#include "pictures.h"

#include <QFile>
#include <QFontDatabase>

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

Points row(int y, int from, int to)
{
    Points p;
    for (int x = from; x <= to; ++x)
        p.insert({x, y});
    return p;
}

const Colour Pen = rgb(255, 0, 0), Background = rgb(10, 20, 30);

}  // namespace

TEST(Drawing, LinesIncludeBothEndsAndClip)
{
    const struct {
        const char *name;
        int x1, y1, x2, y2;
        Points expected;
    } cases[] = {
        {"horizontal", 1, 1, 4, 1, row(1, 1, 4)},
        {"vertical", 2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}},
        {"single point", 3, 3, 3, 3, {{3, 3}}},
        {"far outside both ends", -1000000000, 3, 1000000000, 3, row(3, 0, 5)},
        {"below the buffer", 0, 4, 5, 4, {}},
        {"shallow", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {"steep", 0, 0, 2, 3, {{0, 0}, {1, 1}, {1, 2}, {2, 3}}},
        {"diagonal clipped", -2, -2, 2, 2, {{0, 0}, {1, 1}, {2, 2}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Raster r(6, 4);
        r.setDrawColour(Pen);
        r.drawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(pixelsOf(r, Pen), c.expected);
    }
}

TEST(Drawing, RectangleOutlinesTheirWidthAndHeight)
{
    Raster r(6, 5);
    r.setDrawColour(Pen);
    r.drawRectangle(1, 1, 4, 3);
    Points expected = row(1, 1, 4);
    expected.merge(row(3, 1, 4));
    expected.insert({{1, 2}, {4, 2}});
    EXPECT_EQ(pixelsOf(r, Pen), expected);

    Raster thin(6, 5);
    thin.setDrawColour(Pen);
    thin.drawRectangle(2, 0, 1, 3);
    thin.drawRectangle(0, 0, 0, 3);
    EXPECT_EQ(pixelsOf(thin, Pen), (Points{{2, 0}, {2, 1}, {2, 2}}));
}

TEST(Drawing, TextChangesOnlyGlyphPixelsInsideItsBox)
{
    loadDeviceFonts();
    auto draw = [](bool bold, bool antialias) {
        Raster r(120, 40);
        r.fill(Background);
        r.selectRect(0, 0, 1, 1);  // drawing ignores the selection
        r.drawText(31, 7, QStringLiteral("Start"),
                   TextStyle{QStringLiteral("Tahoma"), 8, bold, Pen, antialias});
        return r;
    };
    const Raster regular = draw(false, false), bold = draw(true, false);
    for (const Raster *r : {&regular, &bold}) {
        const Points pen = pixelsOf(*r, Pen);
        const Points background = pixelsOf(*r, Background);
        EXPECT_EQ(pen.size() + background.size(), size_t(120 * 40)) << "only pen colour added";
        ASSERT_GT(pen.size(), 20u);
        for (const auto &[x, y] : pen) {  // "Start" at 11 px is about 30 x 11
            EXPECT_GE(x, 31);
            EXPECT_LT(x, 31 + 45);
            EXPECT_GE(y, 7);
            EXPECT_LT(y, 7 + 14);
        }
    }
    EXPECT_GT(pixelsOf(bold, Pen).size(), pixelsOf(regular, Pen).size());

    const Raster smooth = draw(false, true);
    EXPECT_LT(pixelsOf(smooth, Pen).size() + pixelsOf(smooth, Background).size(), size_t(120 * 40))
        << "antialiased edges mix the colours";
}

TEST(Drawing, DeviceFontsReportWhatIsMissing)
{
    EXPECT_FALSE(loadDeviceFonts(QStringLiteral("/nonexistent/fonts")));
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine not installed";
    EXPECT_TRUE(loadDeviceFonts());
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Tahoma")));
}
