// The buffer and its per-pixel operations. The loops run over whole uint32
// rows with no calls inside, so the compiler can vectorise them; this file
// is built with -O3 (see CMakeLists.txt).
#include "app/raster/raster.h"

#include "base/runtimeerror.h"

#include <algorithm>
#include <cstring>

namespace varno {

Q_LOGGING_CATEGORY(lcRaster, "varno.raster")

namespace {

void checkSize(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        throw runtimeError(Err::InvalidProcedureCall);
    if (width > Limits::MaxSide || height > Limits::MaxSide || width * height > Limits::MaxPixels)
        throw runtimeError(Err::OutOfMemory);
}

int bitsOfFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8: return 8;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
    case QImage::Format_Grayscale16: return 16;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888: return 24;
    case QImage::Format_RGBX64: return 48;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied: return 64;
    default: return QImage::toPixelFormat(format).bitsPerPixel() == 32 ? 32 : 24;
    }
}

// Any picture as opaque RGB32. Formats with alpha keep their colour and lose
// the alpha, as the 24-bit buffers of the device have none.
QImage toRgb32(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32)
        return image;
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    if (out.isNull())
        throw runtimeError(Err::OutOfMemory);
    const qsizetype count = qsizetype(out.width()) * out.height();
    if (out.bytesPerLine() == out.width() * 4) {
        auto *p = reinterpret_cast<uint32_t *>(out.bits());
        for (qsizetype i = 0; i < count; ++i)
            p[i] |= 0xFF000000u;
    } else {
        for (int y = 0; y < out.height(); ++y) {
            auto *p = reinterpret_cast<uint32_t *>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                p[x] |= 0xFF000000u;
        }
    }
    return out;
}

const uint32_t *constRow(const QImage &image, int y)
{
    return reinterpret_cast<const uint32_t *>(image.constBits() +
                                              qsizetype(y) * image.bytesPerLine());
}

// Clips a copy of the w x h rectangle at (sx, sy) of a source to (dx, dy)
// of a target, against both buffers; false when nothing is left.
struct Span {
    int sx, sy, dx, dy, w, h;
};
bool clip(Span &s, int srcW, int srcH, int dstW, int dstH, qint64 left, qint64 top, qint64 width,
          qint64 height, qint64 x, qint64 y)
{
    if (width <= 0 || height <= 0)
        return false;
    qint64 l = left, t = top, r = left + width, b = top + height;
    const qint64 ox = x - left, oy = y - top;  // source -> target offset
    l = std::max({l, qint64(0), -ox});
    t = std::max({t, qint64(0), -oy});
    r = std::min({r, qint64(srcW), dstW - ox});
    b = std::min({b, qint64(srcH), dstH - oy});
    if (l >= r || t >= b)
        return false;
    s = Span{int(l), int(t), int(l + ox), int(t + oy), int(r - l), int(b - t)};
    return true;
}

// The row loops are built twice, for AVX2 and for plain x86-64, and the
// loader picks one per machine: twice the lanes for no change of code.
#if defined(__GNUC__) && defined(__x86_64__)
#define VARNO_ROW_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define VARNO_ROW_LOOP
#endif

VARNO_ROW_LOOP void fillRow(uint32_t *__restrict d, int n, uint32_t px)
{
    for (int x = 0; x < n; ++x)
        d[x] = px;
}

VARNO_ROW_LOOP void fillSelected(uint32_t *__restrict d, const uint8_t *__restrict m, int n,
                                 uint32_t px)
{
    for (int x = 0; x < n; ++x)
        d[x] = m[x] ? px : d[x];
}

VARNO_ROW_LOOP void copyUnselected(uint32_t *__restrict d, const uint32_t *__restrict s,
                                   const uint8_t *__restrict m, int n)
{
    for (int x = 0; x < n; ++x) {  // branch-free, so that it vectorises
        const uint32_t keep = 0u - uint32_t(m[x] != 0);
        d[x] = (d[x] & keep) | (s[x] & ~keep);
    }
}

VARNO_ROW_LOOP void selectEqual(uint8_t *__restrict m, const uint32_t *__restrict s, int n,
                                uint32_t px, uint8_t equal)
{
    for (int x = 0; x < n; ++x)
        m[x] = ((s[x] ^ px) & 0x00FFFFFFu) == 0 ? equal : uint8_t(equal ^ 1);
}

// Blending works on channels in 16-bit lanes: lane = a x o + b x (255 - o)
// is at most 255 x 255, so (t + (t >> 8)) >> 8 with t = lane + 128 is the
// exact quotient lane / 255 rounded to nearest, with no overflow. Rounding
// halves to even needs no extra care: lane / 255 is never exactly k + 1/2,
// as 2 x lane is even and 255 x (2k + 1) is odd; so every result equals
// (lane + 127) / 255.
//
// Eight pixels at a time as sixteen 16-bit lanes, each holding two channels
// (low byte: blue or red; high byte: green or alpha); a plain loop over
// uint32 would multiply in 32-bit lanes at half the speed.
using Lanes = uint16_t __attribute__((vector_size(32)));

uint32_t blendPixel(uint32_t a, uint32_t b, uint32_t o)
{
    const uint32_t io = 255 - o;
    uint32_t rb = (a & 0x00FF00FFu) * o + (b & 0x00FF00FFu) * io + 0x00800080u;
    uint32_t ag = (a >> 8 & 0x00FF00FFu) * o + (b >> 8 & 0x00FF00FFu) * io + 0x00800080u;
    rb = (rb + (rb >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu;
    ag = (ag + (ag >> 8 & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

VARNO_ROW_LOOP void blendRow(uint32_t *__restrict d, const uint32_t *__restrict s, int n,
                             uint32_t o)
{
    const Lanes vo = Lanes{} + uint16_t(o), vio = Lanes{} + uint16_t(255 - o);
    const Lanes low = Lanes{} + uint16_t(0x00FF), half = Lanes{} + uint16_t(0x0080);
    int x = 0;
    for (; x + 8 <= n; x += 8) {
        Lanes a, b;
        std::memcpy(&a, s + x, sizeof a);
        std::memcpy(&b, d + x, sizeof b);
        Lanes lo = (a & low) * vo + (b & low) * vio + half;
        Lanes hi = (a >> 8) * vo + (b >> 8) * vio + half;
        lo = (lo + (lo >> 8)) >> 8;
        hi = (hi + (hi >> 8)) & ~low;
        const Lanes r = lo | hi;
        std::memcpy(d + x, &r, sizeof r);
    }
    for (; x < n; ++x)
        d[x] = blendPixel(s[x], d[x], o);
}

}  // namespace

Raster::Raster(int width, int height)
{
    create(width, height);
}

Raster Raster::fromImage(const QImage &image, int bitsPerPixel)
{
    Raster r;
    if (image.isNull())
        return r;
    checkSize(image.width(), image.height());
    r.m_image = image;
    r.m_bitsPerPixel = bitsPerPixel > 0 ? bitsPerPixel : bitsOfFormat(image.format());
    return r;
}

void Raster::create(int width, int height)
{
    checkSize(width, height);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw runtimeError(Err::OutOfMemory);
    image.fill(0xFF000000u);
    m_image = std::move(image);
    m_bitsPerPixel = 24;
    m_mask.clear();
}

void Raster::free()
{
    m_image = QImage();
    m_bitsPerPixel = 0;
    m_mask.clear();
}

void Raster::requireImage() const
{
    if (m_image.isNull())
        throw runtimeError(Err::InvalidProcedureCall);
}

void Raster::convertTo24()
{
    requireImage();
    m_image = toRgb32(m_image);
    m_bitsPerPixel = 24;
}

Raster::Rows Raster::prepare()
{
    convertTo24();
    return Rows{m_image.bits(), m_image.bytesPerLine()};
}

void Raster::fill(Colour colour)
{
    const Rows rows = prepare();
    const uint32_t px = pixelOf(colour);
    const int w = width();
    for (int y = 0; y < height(); ++y) {
        if (m_mask.empty())
            fillRow(rows[y], w, px);
        else
            fillSelected(rows[y], m_mask.data() + qsizetype(y) * w, w, px);
    }
}

void Raster::copyRect(const Raster &source, int left, int top, int width, int height, int x, int y)
{
    requireImage();
    source.requireImage();
    Span s;
    if (!clip(s, source.width(), source.height(), this->width(), this->height(), left, top, width,
              height, x, y))
        return;
    // Held before prepare(): when source is this buffer, the write below
    // detaches and `src` keeps the pixels as they were.
    const QImage src = toRgb32(source.m_image);
    const std::vector<uint8_t> *mask = source.hasSelection() ? &source.m_mask : nullptr;
    const Rows rows = prepare();
    for (int j = 0; j < s.h; ++j) {
        uint32_t *d = rows[s.dy + j] + s.dx;
        const uint32_t *p = constRow(src, s.sy + j) + s.sx;
        if (!mask)
            std::memcpy(d, p, size_t(s.w) * 4);
        else
            copyUnselected(d, p, mask->data() + qsizetype(s.sy + j) * src.width() + s.sx, s.w);
    }
}

void Raster::selectColour(Colour colour)
{
    convertTo24();
    const int w = width();
    m_mask.assign(size_t(w) * height(), 0);
    for (int y = 0; y < height(); ++y)
        selectEqual(m_mask.data() + qsizetype(y) * w, constRow(m_image, y), w, pixelOf(colour), 1);
}

void Raster::selectNotColour(Colour colour)
{
    convertTo24();
    const int w = width();
    m_mask.assign(size_t(w) * height(), 0);
    for (int y = 0; y < height(); ++y)
        selectEqual(m_mask.data() + qsizetype(y) * w, constRow(m_image, y), w, pixelOf(colour), 0);
}

void Raster::selectRect(int left, int top, int width, int height)
{
    requireImage();
    const int w = this->width();
    m_mask.assign(size_t(w) * this->height(), 0);
    Span s;
    if (!clip(s, w, this->height(), w, this->height(), left, top, width, height, left, top))
        return;
    for (int y = s.sy; y < s.sy + s.h; ++y)
        std::fill_n(m_mask.data() + qsizetype(y) * w + s.sx, s.w, uint8_t(1));
}

bool Raster::isSelected(int x, int y) const
{
    if (m_mask.empty() || x < 0 || y < 0 || x >= width() || y >= height())
        return false;
    return m_mask[size_t(y) * width() + x] != 0;
}

int Raster::scaledSide(int side, int from, int to)
{
    if (side <= 0 || from <= 0 || to <= 0)
        throw runtimeError(Err::InvalidProcedureCall);
    const qint64 num = qint64(side) * to;
    qint64 q = num / from;
    const qint64 twice = 2 * (num % from);
    if (twice > from || (twice == from && (q & 1)))
        ++q;
    if (q > Limits::MaxSide)
        throw runtimeError(Err::OutOfMemory);
    return int(std::max<qint64>(q, 1));
}

void Raster::crop(int left, int top, int width, int height)
{
    requireImage();
    Span s;
    if (!clip(s, this->width(), this->height(), this->width(), this->height(), left, top, width,
              height, left, top))
        throw runtimeError(Err::InvalidProcedureCall);
    convertTo24();
    QImage cropped = m_image.copy(s.sx, s.sy, s.w, s.h);
    if (cropped.isNull())
        throw runtimeError(Err::OutOfMemory);
    if (!m_mask.empty()) {
        std::vector<uint8_t> mask(size_t(s.w) * s.h);
        for (int y = 0; y < s.h; ++y)
            std::memcpy(mask.data() + qsizetype(y) * s.w,
                        m_mask.data() + qsizetype(s.sy + y) * this->width() + s.sx, size_t(s.w));
        m_mask = std::move(mask);
    }
    m_image = std::move(cropped);
}

void Raster::mirror()
{
    const Rows rows = prepare();
    const int w = width();
    for (int y = 0; y < height(); ++y) {
        std::reverse(rows[y], rows[y] + w);
        if (!m_mask.empty())
            std::reverse(m_mask.begin() + qsizetype(y) * w, m_mask.begin() + qsizetype(y + 1) * w);
    }
}

void Raster::flip()
{
    const Rows rows = prepare();
    const int w = width();
    for (int y = 0, z = height() - 1; y < z; ++y, --z) {
        std::swap_ranges(rows[y], rows[y] + w, rows[z]);
        if (!m_mask.empty())
            std::swap_ranges(m_mask.begin() + qsizetype(y) * w,
                             m_mask.begin() + qsizetype(y + 1) * w,
                             m_mask.begin() + qsizetype(z) * w);
    }
}

void Raster::blend(const Raster &overlay, int x, int y, int opacity)
{
    requireImage();
    overlay.requireImage();
    if (opacity < 0 || opacity > 255)
        throw runtimeError(Err::InvalidProcedureCall);
    Span s;
    if (!clip(s, overlay.width(), overlay.height(), width(), height(), 0, 0, overlay.width(),
              overlay.height(), x, y))
        return;
    const QImage src = toRgb32(overlay.m_image);
    const Rows rows = prepare();
    for (int j = 0; j < s.h; ++j)
        blendRow(rows[s.dy + j] + s.dx, constRow(src, s.sy + j) + s.sx, s.w, uint32_t(opacity));
}

Colour Raster::pixel(int x, int y) const
{
    requireImage();
    if (x < 0 || y < 0 || x >= width() || y >= height())
        throw runtimeError(Err::InvalidProcedureCall);
    return colourOf(m_image.pixel(x, y));
}

bool Raster::samePixels(const Raster &other) const
{
    return maxChannelDifference(*this, other) == 0;
}

int maxChannelDifference(const Raster &a, const Raster &b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return -1;
    if (a.isNull())
        return 0;
    const QImage pa = toRgb32(a.m_image), pb = toRgb32(b.m_image);
    int worst = 0;
    for (int y = 0; y < pa.height(); ++y) {
        const uint32_t *ra = constRow(pa, y), *rb = constRow(pb, y);
        for (int x = 0; x < pa.width(); ++x)
            for (int shift = 0; shift < 24; shift += 8)
                worst = std::max(worst,
                                 std::abs(int(ra[x] >> shift & 0xFF) - int(rb[x] >> shift & 0xFF)));
    }
    return worst;
}

}  // namespace varno
