// Fitting geometry: resize, place or cut, pan.
#include "imagefit/fitting.h"

#include "base/rounding.h"

#include <algorithm>

namespace varno {

int fitPosition(int length, int canvas, Justify justify, bool halvesToEven)
{
    // Top or left never cuts from the start: an oversized picture loses its
    // far end instead.
    if (justify == Justify::Start)
        return 0;
    if (justify == Justify::End)
        return canvas - length;
    if (halvesToEven) {
        // Cut and paste offsets are rounded each on its own sign, so a
        // half is even in both directions (26.5 -> 26, 133.5 -> 134).
        return length > canvas ? -int(nearest((length - canvas) / 2.0))
                               : int(nearest((canvas - length) / 2.0));
    }
    return length > canvas ? -((length - canvas) / 2) : (canvas - length) / 2;
}

Raster backgroundCanvas(QSize size, Colour background)
{
    Raster canvas(size.width(), size.height());
    canvas.fill(background);
    return canvas;
}

Raster clipPicture(const Raster &source, QSize canvas, Colour background)
{
    Raster out = backgroundCanvas(canvas, background);
    if (!source.isNull())
        out.copyRect(source, 0, 0, source.width(), source.height(), 0, 0);
    return out;
}

Raster fitPicture(const Raster &source, QSize canvas, ResizeMode mode, Justify justify,
                  Colour background)
{
    const int w = canvas.width(), h = canvas.height();
    if (source.isNull())
        return backgroundCanvas(canvas, background);
    Raster scratch = source;
    switch (mode) {
    case ResizeMode::XY: scratch.resize(w, h); return scratch;
    case ResizeMode::FitX: {
        scratch.resize(w, 0);
        Raster out = backgroundCanvas(canvas, background);
        const int y = fitPosition(scratch.height(), h, justify, true);
        out.copyRect(scratch, 0, 0, scratch.width(), scratch.height(), 0, y);
        return out;
    }
    case ResizeMode::FitY: {
        scratch.resize(0, h);
        Raster out = backgroundCanvas(canvas, background);
        const int x = fitPosition(scratch.width(), w, justify, false);
        out.copyRect(scratch, 0, 0, scratch.width(), scratch.height(), x, 0);
        return out;
    }
    }
    return backgroundCanvas(canvas, background);
}

Raster fitWidthOnly(const Raster &source, int width)
{
    Raster out = source;
    if (!out.isNull())
        out.resize(width, 0);
    return out;
}

Raster panPicture(const Raster &source, bool clip, ResizeMode mode, QSize canvas)
{
    if (source.isNull())
        return Raster();
    Raster out = source;
    if (clip)
        out.convertTo24();
    else if (mode == ResizeMode::FitX)
        out.resize(canvas.width(), 0);
    else if (mode == ResizeMode::FitY)
        out.resize(0, canvas.height());
    else
        return Raster();
    return out;
}

QPoint clampPanPosition(QPoint position, QSize canvas, QSize picture)
{
    const int maxX = std::max(0, picture.width() - canvas.width());
    const int maxY = std::max(0, picture.height() - canvas.height());
    return QPoint(std::clamp(position.x(), 0, maxX), std::clamp(position.y(), 0, maxY));
}

Raster panRegion(const Raster &picture, QPoint position, QSize canvas, Colour background)
{
    Raster out = backgroundCanvas(canvas, background);
    if (!picture.isNull())
        out.copyRect(picture, position.x(), position.y(), canvas.width(), canvas.height(), 0, 0);
    return out;
}

Raster halfScale(const Raster &source)
{
    Raster out = source;
    if (!out.isNull())
        out.resize(std::max(1, int(nearest(source.width() / 2.0))), 0);
    return out;
}

Raster standardHandOver(const Raster &canvas, Colour background)
{
    Raster out = backgroundCanvas(QSize(240, 480), background);
    if (!canvas.isNull())
        out.copyRect(canvas, 0, 0, canvas.width(), canvas.height(), 0, 0);
    out.crop(0, 0, 240, 293);
    return out;
}

}  // namespace varno
