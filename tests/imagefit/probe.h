// Probe pictures for the fitting tests: every pixel a colour of its own, so
// a picture placed one row or column off never matches.
#pragma once

#include "app/raster/raster.h"

#include <QImage>
#include <QSize>

namespace varno::test {

// Red and green carry the low bits of x and y, blue their high bits; blue
// stays far below 255, so Magenta never occurs in a probe, even resampled.
inline Colour probeColour(int x, int y)
{
    return rgb(x & 255, y & 255, (x >> 8) | (y >> 8) << 3);
}

constexpr Colour Magenta = rgb(255, 0, 255);

inline Raster probe(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pixelOf(probeColour(x, y)));
    return Raster::fromImage(image);
}

// `picture` pasted at (x, y) on a canvas of `background`: the expected
// result, built without the code under test.
inline Raster placed(const Raster &picture, QSize canvas, Colour background, int x, int y)
{
    Raster out(canvas.width(), canvas.height());
    out.fill(background);
    out.copyRect(picture, 0, 0, picture.width(), picture.height(), x, y);
    return out;
}

inline Raster resized(Raster r, int width, int height)
{
    r.resize(width, height);
    return r;
}

}  // namespace varno::test
