// The default Today picture of a new theme, drawn at any size.
#pragma once

#include <QImage>

namespace varno::pics {

// The design at width x height (its own layout is 640 x 588; other sizes
// scale it), antialiased.
QImage drawBackground(int width, int height);

// Each pixel the rounded mean of a 2 x 2 block: the picture at half size.
QImage halve(const QImage &image);

}  // namespace varno::pics
