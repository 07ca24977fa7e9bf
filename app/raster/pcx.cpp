// ZSoft PCX reader. The header is checked whole before anything is
// allocated, and the RLE stream is read with a bounds check on every byte.
#include "app/raster/pcx.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace varno {

namespace {

constexpr qsizetype HeaderSize = 128;
constexpr qsizetype PaletteSize = 1 + 768;  // 0x0C marker, 256 RGB triples
// Writers pad BytesPerLine to an even (sometimes a 4-byte) count; more slack
// than this is no real file, and would let a tiny header make us decode
// gigabytes of filler.
constexpr int MaxLinePadding = 16;

// The standard 16-colour EGA palette, for files that carry none (version 3).
constexpr std::array<QRgb, 16> EgaPalette = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

struct PCXHEADER {
    uint8_t Manufacturer, Version, Encoding, BitsPerPixel;
    uint16_t Xmin, Ymin, Xmax, Ymax;
    const uint8_t *Colormap;  // 16 RGB triples
    uint8_t NPlanes;
    uint16_t BytesPerLine;
};

PCXHEADER parseHeader(const uint8_t *d)
{
    auto u16 = [d](int at) { return qFromLittleEndian<uint16_t>(d + at); };
    return PCXHEADER{d[0],   d[1],    d[2],   d[3],  u16(4), u16(6),
                     u16(8), u16(10), d + 16, d[65], u16(66)};
}

RuntimeError invalid(const char *why)
{
    qCWarning(lcRaster) << "PCX:" << why;
    return runtimeError(Err::InvalidPicture);
}

// RLE: a byte with both top bits set repeats the next byte (its low six bits
// times); any other byte stands for itself. Runs may cross scan lines, as
// some writers let them.
class RleReader {
public:
    RleReader(const uint8_t *p, const uint8_t *end) : m_p(p), m_end(end) {}

    // Fills `out` with n decoded bytes; false when the data ends first.
    bool read(uint8_t *out, qsizetype n)
    {
        while (n > 0) {
            if (m_count == 0) {
                if (m_p == m_end)
                    return false;
                const uint8_t c = *m_p++;
                if ((c & 0xC0) == 0xC0) {
                    if (m_p == m_end)
                        return false;
                    m_count = c & 0x3F;
                    m_value = *m_p++;
                } else {
                    m_count = 1;
                    m_value = c;
                }
            }
            const qsizetype take = std::min<qsizetype>(n, m_count);
            std::memset(out, m_value, size_t(take));
            out += take;
            n -= take;
            m_count -= int(take);
        }
        return true;
    }

private:
    const uint8_t *m_p, *m_end;
    int m_count = 0;
    uint8_t m_value = 0;
};

void setPalette16(QImage &image, const PCXHEADER &h)
{
    QList<QRgb> colours(16);
    for (int i = 0; i < 16; ++i) {
        const uint8_t *c = h.Colormap + 3 * i;
        colours[i] = h.Version == 3 ? EgaPalette[size_t(i)] : qRgb(c[0], c[1], c[2]);
    }
    image.setColorTable(colours);
}

// One decoded scan line (all planes, BytesPerLine each) into image row y.
void storeLine(QImage &image, const PCXHEADER &h, const uint8_t *line, int y)
{
    const int w = image.width();
    const int bpl = h.BytesPerLine;
    uchar *out = image.scanLine(y);
    if (h.BitsPerPixel == 1 && h.NPlanes == 1) {
        std::memcpy(out, line, size_t((w + 7) / 8));
    } else if (h.BitsPerPixel == 1) {  // 4 planes: bit p of the index in plane p
        for (int x = 0; x < w; ++x) {
            const int bit = 7 - (x & 7);
            uint8_t index = 0;
            for (int p = 0; p < 4; ++p)
                index |= uint8_t((line[p * bpl + x / 8] >> bit & 1) << p);
            out[x] = index;
        }
    } else if (h.BitsPerPixel == 4) {
        for (int x = 0; x < w; ++x)
            out[x] = (x & 1) ? line[x / 2] & 0x0F : line[x / 2] >> 4;
    } else if (h.NPlanes == 1) {
        std::memcpy(out, line, size_t(w));
    } else {  // planes of red, green, blue (and alpha, ignored)
        auto *px = reinterpret_cast<QRgb *>(out);
        for (int x = 0; x < w; ++x)
            px[x] = qRgb(line[x], line[bpl + x], line[2 * bpl + x]);
    }
}

}  // namespace

bool looksLikePcx(QByteArrayView head)
{
    if (head.size() < 3)
        return false;
    const auto v = uint8_t(head[1]);
    return uint8_t(head[0]) == 0x0A && (v == 0 || (v >= 2 && v <= 5)) && head[2] == 1;
}

Result<PcxPicture> readPcx(QByteArrayView data)
{
    // The header, whole.
    if (data.size() < HeaderSize || !looksLikePcx(data))
        return invalid("not a PCX header");
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    const PCXHEADER h = parseHeader(bytes);
    if (h.Xmax < h.Xmin || h.Ymax < h.Ymin)
        return invalid("window with its end before its start");
    const qint64 width = qint64(h.Xmax) - h.Xmin + 1, height = qint64(h.Ymax) - h.Ymin + 1;
    if (width > Limits::MaxPictureSide || height > Limits::MaxPictureSide ||
        width * height > Limits::MaxPicturePixels) {
        qCWarning(lcRaster) << "PCX: picture too large:" << width << "x" << height;
        return runtimeError(Err::OutOfMemory);
    }
    const int depth = h.BitsPerPixel * h.NPlanes;
    const bool known =
        (h.BitsPerPixel == 1 && (h.NPlanes == 1 || h.NPlanes == 4)) ||
        (h.BitsPerPixel == 4 && h.NPlanes == 1) ||
        (h.BitsPerPixel == 8 && (h.NPlanes == 1 || h.NPlanes == 3 || h.NPlanes == 4));
    if (!known)
        return invalid("unsupported bits per pixel and planes");
    const qint64 needed = (width * h.BitsPerPixel + 7) / 8;
    if (h.BytesPerLine < needed || h.BytesPerLine > needed + MaxLinePadding)
        return invalid("BytesPerLine does not fit the width");

    // The 256-colour palette sits after the pixels, behind a 0x0C marker.
    const uint8_t *end = bytes + data.size();
    const uint8_t *palette = nullptr;
    if (depth == 8) {
        if (data.size() < HeaderSize + PaletteSize || end[-PaletteSize] != 0x0C)
            return invalid("256-colour palette missing");
        palette = end - PaletteSize + 1;
        end -= PaletteSize;
    }

    // Pixels, scan line by scan line.
    const QImage::Format format = depth == 1   ? QImage::Format_Mono
                                  : depth <= 8 ? QImage::Format_Indexed8
                                               : QImage::Format_RGB32;
    QImage image(int(width), int(height), format);
    if (image.isNull())
        return runtimeError(Err::OutOfMemory);
    if (depth == 1)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    else if (depth == 4)
        setPalette16(image, h);
    else if (palette) {
        QList<QRgb> colours(256);
        for (int i = 0; i < 256; ++i)
            colours[i] = qRgb(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
        image.setColorTable(colours);
    }
    std::vector<uint8_t> line(size_t(h.BytesPerLine) * h.NPlanes);
    RleReader rle(bytes + HeaderSize, end);
    for (int y = 0; y < image.height(); ++y) {
        if (!rle.read(line.data(), qsizetype(line.size())))
            return invalid("pixel data cut short");
        storeLine(image, h, line.data(), y);
    }
    return PcxPicture{std::move(image), depth};
}

}  // namespace varno
