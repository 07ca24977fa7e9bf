// Fitting geometry on its own: offsets, pan rectangle, standard hand-over.
#include "imagefit/fitting.h"
#include "probe.h"

#include <gtest/gtest.h>

using namespace varno;
using namespace varno::test;

TEST(FitPosition, WorkedOffsets)
{
    struct Case {
        int length, canvas;
        Justify justify;
        bool halvesToEven;
        int position;
    } cases[] = {
        {240, 293, Justify::Centre, true, 26},    // 26.5 to even
        {560, 293, Justify::Centre, true, -134},  // 133.5 to even
        {327, 320, Justify::Centre, false, -3},   // 3.5 truncated
        {73, 240, Justify::Centre, false, 83},    // 83.5 truncated
        {240, 293, Justify::End, true, 53},       // bottom: 293 - 240
        {560, 293, Justify::End, true, -267},     // cut 560 - 293 from the top
        {560, 293, Justify::Start, true, 0},      // loses the bottom instead
        {293, 293, Justify::Centre, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " on " << c.canvas);
        EXPECT_EQ(fitPosition(c.length, c.canvas, c.justify, c.halvesToEven), c.position);
    }
}

TEST(PanRectangle, StaysOnThePicture)
{
    const QSize canvas(640, 588);
    EXPECT_EQ(clampPanPosition({5000, 5000}, canvas, {1000, 800}), QPoint(360, 212));
    EXPECT_EQ(clampPanPosition({-4, 7}, canvas, {1000, 800}), QPoint(0, 7));
    // Narrower than the canvas: that side cannot move.
    EXPECT_EQ(clampPanPosition({30, 30}, canvas, {600, 800}), QPoint(0, 30));

    const Raster region = panRegion(probe(700, 300), {50, 10}, canvas, Magenta);
    EXPECT_EQ(region.pixel(0, 0), probeColour(50, 10));
    EXPECT_EQ(region.pixel(639, 289), probeColour(689, 299));
    EXPECT_EQ(region.pixel(0, 290), Magenta);
}

TEST(StandardHandOver, CutsATallPictureAtRow293)
{
    const Raster tall = standardHandOver(probe(240, 600), Magenta);
    ASSERT_EQ(tall.height(), 293);
    EXPECT_EQ(tall.pixel(239, 292), probeColour(239, 292));

    const Raster empty = standardHandOver(Raster(), Magenta);
    ASSERT_EQ(empty.width(), 240);
    EXPECT_EQ(empty.pixel(239, 292), Magenta);
}
