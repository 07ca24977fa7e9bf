// Drawing on a buffer: one-pixel lines and outlines, single pixels, text,
// and the device's own font.
#include "app/raster/raster.h"

#include "base/rounding.h"
#include "base/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>

#include <algorithm>

namespace varno {

namespace {

// Smallest and largest step i in [0, steps] for which start + dir x i lies
// in [0, size); empty when first > last.
std::pair<qint64, qint64> stepsInside(qint64 start, int dir, qint64 steps, int size)
{
    qint64 first = 0, last = steps;
    if (dir > 0) {
        first = std::max(first, -start);
        last = std::min(last, size - 1 - start);
    } else if (dir < 0) {
        first = std::max(first, start - (size - 1));
        last = std::min(last, start);
    } else if (start < 0 || start >= size) {
        last = -1;
    }
    return {first, last};
}

}  // namespace

void Raster::setPixel(int x, int y, Colour colour)
{
    const Rows rows = prepare();
    if (x >= 0 && y >= 0 && x < width() && y < height())
        rows[y][x] = pixelOf(colour);
}

// The line takes, along its longer axis, every position from one end point
// to the other, and across it the pixel nearest the ideal line (a tie goes
// towards the second point): the pixels of a Bresenham line. Written as a
// closed form so that only the steps inside the buffer are visited, however
// far outside the end points lie.
void Raster::drawLine(int x1, int y1, int x2, int y2)
{
    const Rows rows = prepare();
    const uint32_t pen = pixelOf(m_drawColour);
    // Ramps draw hundreds of straight lines per redraw: no stepping for them.
    if (x1 == x2 || y1 == y2) {
        if (x1 == x2 && (x1 < 0 || x1 >= width()))
            return;
        if (y1 == y2 && (y1 < 0 || y1 >= height()))
            return;
        const int top = std::max(std::min(y1, y2), 0),
                  bottom = std::min(std::max(y1, y2), height() - 1);
        const int left = std::max(std::min(x1, x2), 0),
                  right = std::min(std::max(x1, x2), width() - 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                rows[y][x] = pen;
        return;
    }
    const qint64 dx = qint64(x2) - x1, dy = qint64(y2) - y1;
    const bool steep = std::abs(dy) > std::abs(dx);
    // Major axis a, minor axis b.
    const qint64 a0 = steep ? y1 : x1, b0 = steep ? x1 : y1;
    const qint64 da = std::abs(steep ? dy : dx), db = std::abs(steep ? dx : dy);
    const int sa = (steep ? dy : dx) < 0 ? -1 : 1, sb = (steep ? dx : dy) < 0 ? -1 : 1;
    const int sizeA = steep ? height() : width(), sizeB = steep ? width() : height();
    const auto [first, last] = stepsInside(a0, sa, da, sizeA);
    for (qint64 i = first; i <= last; ++i) {
        const qint64 b = b0 + sb * (da == 0 ? 0 : (2 * i * db + da) / (2 * da));
        if (b < 0 || b >= sizeB)
            continue;
        const qint64 a = a0 + sa * i;
        if (steep)
            rows[int(a)][b] = pen;
        else
            rows[int(b)][a] = pen;
    }
}

void Raster::drawRectangle(int left, int top, int width, int height)
{
    requireImage();
    if (width <= 0 || height <= 0)
        return;
    const qint64 right = qint64(left) + width - 1, bottom = qint64(top) + height - 1;
    // Beyond the int range the edge is outside any buffer anyway.
    const int r = int(std::min<qint64>(right, Limits::MaxSide));
    const int b = int(std::min<qint64>(bottom, Limits::MaxSide));
    drawLine(left, top, r, top);
    drawLine(left, b, r, b);
    drawLine(left, top, left, b);
    drawLine(r, top, r, b);
}

// Text size: an em of points x 96 / 72 whole pixels, as a 96-dpi device
// screen makes it (8 pt -> 11 px, 9 pt -> 12 px); a fractional size would
// rasterise differently from the device.
void Raster::drawText(int x, int y, const QString &text, const TextStyle &style)
{
    convertTo24();
    const double pixels = nearest(style.points * 96.0 / 72.0);
    if (!(pixels >= 1 && pixels <= 4096))
        throw runtimeError(Err::InvalidProcedureCall);
    if (text.isEmpty())
        return;
    QFont font(style.face);
    font.setStyleHint(QFont::SansSerif,
                      style.antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setPixelSize(int(pixels));
    font.setBold(style.bold);
    // One-colour glyphs come from the font's bitmap strikes (Tahoma has them at
    // 11 and 12 px) or from fully hinted outlines, and either has whole-pixel
    // advances of its own. Left to the desktop's lighter hinting, Qt would
    // step by the outline's fractional advances instead and open or close
    // gaps between letters ("Sun day").
    if (!style.antialias)
        font.setHintingPreference(QFont::PreferFullHinting);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, style.antialias);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(pixelOf(style.colour)));
    painter.drawText(QPointF(x, qreal(y) + painter.fontMetrics().ascent()), text);
}

bool loadDeviceFonts(const QString &folder)
{
    bool ok = true;
    for (const char *name : {"tahoma.ttf", "tahomabd.ttf"}) {
        const QString path = QDir(folder).filePath(QLatin1String(name));
        if (!QFile::exists(path)) {
            qCWarning(lcRaster) << "device font missing:" << path;
            ok = false;
        } else if (QFontDatabase::addApplicationFont(path) < 0) {
            qCWarning(lcRaster) << "device font unreadable:" << path;
            ok = false;
        }
    }
    return ok;
}

}  // namespace varno
