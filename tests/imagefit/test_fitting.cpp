// Fitting geometry the dialog model does not reach: the edges of the pan
// rectangle and the standard hand-over. Offsets are worked in the model tests.
#include "imagefit/fitting.h"
#include "probe.h"

#include <gtest/gtest.h>

using namespace varno;
using namespace varno::test;

TEST(PanRectangle, StaysOnThePicture)
{
    const QSize canvas(640, 588);
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
