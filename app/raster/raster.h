// Picture buffers and every pixel operation the program draws with: fill,
// rectangle copy, selection (mask), blend, resize, crop, flips, lines, text.
#pragma once

#include "app/themecolors.h"

#include <QImage>
#include <QLoggingCategory>
#include <QString>

#include <cstdint>
#include <vector>

namespace varno {

// Developer log of this library ("varno.raster").
Q_DECLARE_LOGGING_CATEGORY(lcRaster)

// The transparent colour of the overlay pictures.
constexpr Colour KeyColour = rgb(0, 255, 0);

// A colour value as an opaque Format_RGB32 pixel, and back.
constexpr uint32_t pixelOf(Colour c)
{
    return 0xFF000000u | (uint32_t(c) & 0xFFu) << 16 | (uint32_t(c) & 0xFF00u) |
           (uint32_t(c) >> 16 & 0xFFu);
}
constexpr Colour colourOf(uint32_t pixel)
{
    return Colour((pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16);
}

namespace Limits {
// Largest buffer create() and resize() accept: beyond this a request is a
// bug or hostile input, never a picture we mean to hold (1 GiB of pixels).
constexpr int MaxSide = 32768;
constexpr qint64 MaxPixels = qint64(256) << 20;
// Largest picture a file may declare; checked against the header before
// any decoding, so a small file cannot ask for gigabytes.
constexpr int MaxPictureSide = 16384;
constexpr qint64 MaxPicturePixels = qint64(64) << 20;
}  // namespace Limits

// Font, size and colour of drawn text. `points` are as rendered on a 96-dpi
// screen: an em of points x 96 / 72 rounded to whole pixels (8 pt -> 11 px).
// Without antialiasing glyphs are crisp one-colour pixels set at the font's
// own whole-pixel advances, as on the device.
struct TextStyle {
    QString face = QStringLiteral("Tahoma");
    double points = 8;
    bool bold = false;
    Colour colour = rgb(0, 0, 0);
    bool antialias = false;
};

// A 24-bit picture buffer with an optional selection.
//
// A loaded picture keeps its source depth (bitsPerPixel()) until
// convertTo24() or the first pixel operation, which converts implicitly.
// Pixels are held as QImage::Format_RGB32. Colours in and out are 0x00BBGGRR;
// the top byte of a Colour is ignored.
//
// Selection: one mask of selected pixels. fill() changes only selected
// pixels; copyRect() leaves the target's pixels where the *source* is
// selected (its key colour is "masked out"). Blend and drawing ignore any
// selection. mirror(), flip() and crop() transform the selection with the
// pixels; resize(), create(), free() and loading drop it.
//
// Operations on a null buffer, and arguments outside their range, throw
// RuntimeError Err::InvalidProcedureCall; sizes over Limits throw
// Err::OutOfMemory. Drawing and copies are clipped silently.
class Raster {
public:
    Raster() = default;
    // A black width x height buffer.
    Raster(int width, int height);
    // Wraps a picture, keeping its format; `bitsPerPixel` 0 derives the
    // depth from the format.
    static Raster fromImage(const QImage &image, int bitsPerPixel = 0);

    // Replaces the content by a black width x height buffer.
    void create(int width, int height);
    void free();

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // Depth of the source picture (1, 4, 8, 16, 24, 32...), 24 after
    // conversion or any pixel operation, 0 for a null buffer.
    int bitsPerPixel() const { return m_bitsPerPixel; }
    // Read-only view for previews and widgets; RGB32 once converted.
    const QImage &image() const { return m_image; }

    // Converts to 24 bits; pixel operations do so by themselves.
    void convertTo24();

    // Fills the selected pixels, or all when nothing is selected.
    void fill(Colour colour);

    // Copies source's rectangle (left, top, width, height) to (x, y),
    // clipped at both buffers' edges. Source pixels that are selected are
    // not copied. `source` may be this buffer.
    void copyRect(const Raster &source, int left, int top, int width, int height, int x, int y);

    // Each select* call replaces the selection. selectRect() clips to
    // the buffer; a rectangle outside it selects nothing (a selection
    // that is empty, not absent).
    void selectColour(Colour colour);
    void selectNotColour(Colour colour);
    void selectRect(int left, int top, int width, int height);
    void clearSelection() { m_mask.clear(); }
    bool hasSelection() const { return !m_mask.empty(); }
    bool isSelected(int x, int y) const;

    // Bicubic (Catmull-Rom) resize; one side 0 keeps the aspect ratio.
    void resize(int width, int height);
    // `side` scaled by to / from, rounded to nearest with halves to even,
    // at least 1: the free side of a resize that keeps the aspect ratio.
    static int scaledSide(int side, int from, int to);

    // Crops to the part of the rectangle inside the buffer; a rectangle
    // that misses the buffer is an error and changes nothing.
    void crop(int left, int top, int width, int height);

    // Mirror left to right; flip top to bottom.
    void mirror();
    void flip();

    // Blends all of `overlay` onto this buffer at (x, y), clipped:
    // channel = (overlay x opacity + this x (255 - opacity)) / 255, rounded.
    void blend(const Raster &overlay, int x, int y, int opacity);

    // Drawing with the drawing colour; end points are included.
    void setDrawColour(Colour colour) { m_drawColour = colour; }
    Colour drawColour() const { return m_drawColour; }
    void drawLine(int x1, int y1, int x2, int y2);
    // Outline of the width x height pixels from (left, top).
    void drawRectangle(int left, int top, int width, int height);
    // One pixel in `colour`; outside the buffer nothing happens.
    void setPixel(int x, int y, Colour colour);
    // Text whose box has its top-left corner at (x, y); only glyph pixels
    // change.
    void drawText(int x, int y, const QString &text, const TextStyle &style);

    // Colour at (x, y); outside the buffer is an error.
    Colour pixel(int x, int y) const;

    // Same size and same colour everywhere (selection and depth aside).
    bool samePixels(const Raster &other) const;

private:
    struct Rows {
        uchar *bits;
        qsizetype stride;
        uint32_t *operator[](int y) const
        {
            return reinterpret_cast<uint32_t *>(bits + qsizetype(y) * stride);
        }
    };
    void requireImage() const;
    // Converts to 24 bits and detaches; the rows stay valid until the
    // image is next replaced or shared.
    Rows prepare();

    QImage m_image;
    int m_bitsPerPixel = 0;
    std::vector<uint8_t> m_mask;  // width x height, 1 = selected; empty = none
    Colour m_drawColour = rgb(0, 0, 0);

    friend int maxChannelDifference(const Raster &a, const Raster &b);
};

// Largest difference of one channel between two same-sized buffers;
// -1 when their sizes differ. For comparisons with a tolerance.
int maxChannelDifference(const Raster &a, const Raster &b);

// Registers Tahoma and Tahoma Bold from `folder` with the application's
// fonts (needs the QGuiApplication). Returns false, and logs, when either is
// missing; "Tahoma" text then falls back to a sans-serif face.
bool loadDeviceFonts(const QString &folder = QStringLiteral("/usr/share/wine/fonts"));

}  // namespace varno
