// Geometry of fitting a picture to a canvas: the resize modes, where a
// resized picture lands for each justification, the pan picture and its
// rectangle. Free functions on Raster, so each rule can be checked alone.
#pragma once

#include "app/raster/raster.h"

#include <QPoint>
#include <QSize>

namespace varno {

// The "Resizing" buttons in their index order.
enum class ResizeMode { XY = 0, FitX = 1, FitY = 2 };
// The justification buttons: top or left, centre, bottom or right.
enum class Justify { Start = 0, Centre = 1, End = 2 };

// Where a resized picture whose free side is `length` goes on a canvas side
// of `canvas`: the paste position, negative when the picture is cut (its
// crop offset is then the negated value). Centring halves the difference
// rounding halves to even for "Fit to X" (`halvesToEven`), truncating for
// "Fit to Y"; the two modes have always done it differently.
int fitPosition(int length, int canvas, Justify justify, bool halvesToEven);

inline QSize sizeOf(const Raster &r)
{
    return QSize(r.width(), r.height());
}

// A canvas of `size` in `background`.
Raster backgroundCanvas(QSize size, Colour background);

// `source` unscaled at (0, 0) on a background canvas; a null source leaves
// the background alone.
Raster clipPicture(const Raster &source, QSize canvas, Colour background);

// `source` fitted to `canvas` by the resize mode and justification.
// "X && Y" stretches to the canvas; "Fit to X" and "Fit to Y" keep the
// aspect ratio and place or cut along the free side. A null source gives
// the background.
Raster fitPicture(const Raster &source, QSize canvas, ResizeMode mode, Justify justify,
                  Colour background);

// "Fit to X" of the standard dialog: width `width`, height as it comes.
Raster fitWidthOnly(const Raster &source, int width);

// The picture the pan rectangle moves over: the source itself in clip mode,
// else the source resized to the canvas width ("Fit to X") or height ("Fit
// to Y"). "X && Y" has nothing to pan: the result is then null.
Raster panPicture(const Raster &source, bool clip, ResizeMode mode, QSize canvas);

// Top-left corner of a canvas-sized rectangle kept on `picture`; a picture
// smaller than the canvas pins that side to 0.
QPoint clampPanPosition(QPoint position, QSize canvas, QSize picture);

// The canvas-sized region of `picture` at `position`, over the background.
Raster panRegion(const Raster &picture, QPoint position, QSize canvas, Colour background);

// The VGA dialog's working copy: width halved (to nearest, halves to even),
// height by the aspect ratio. Null stays null.
Raster halfScale(const Raster &source);

// The standard dialog's hand-over: `canvas` at (0, 0) on a 240 x 480
// background, cut to 240 x 293, so a taller "Fit to X" result loses its
// lower rows and a shorter one is filled.
Raster standardHandOver(const Raster &canvas, Colour background);

}  // namespace varno
