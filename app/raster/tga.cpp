// Truevision TGA reader. The header is checked whole, and the data checked
// to be long enough for it, before anything is allocated; RLE lengths are
// only known as the packets come, so every pixel read is bounds-checked too.
#include "app/raster/tga.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace varno {

namespace {

constexpr qsizetype HeaderSize = 18;
// The 2.0 footer: extension and developer area offsets, then this signature.
constexpr qsizetype FooterSize = 26;
constexpr char FooterSignature[] = "TRUEVISION-XFILE.";  // its '\0' is part of it

enum ImageType { ColourMapped = 1, TrueColour = 2, Grey = 3, Rle = 8 };

struct TGAHEADER {
    uint8_t IdLength, ColorMapType, ImageType;
    uint16_t FirstEntryIndex, ColorMapLength;
    uint8_t ColorMapEntrySize;
    uint16_t Width, Height;  // the X and Y origins before them place the picture on a screen
    uint8_t PixelDepth, ImageDescriptor;
};

TGAHEADER parseHeader(const uint8_t *d)
{
    auto u16 = [d](int at) { return qFromLittleEndian<uint16_t>(d + at); };
    return TGAHEADER{d[0], d[1], d[2], u16(3), u16(5), d[7], u16(12), u16(14), d[16], d[17]};
}

bool isColourDepth(int bits)
{
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// Why we cannot read a picture with this header; nullptr when we can.
const char *headerProblem(const TGAHEADER &h)
{
    const int kind = h.ImageType & ~Rle;
    if (kind != ColourMapped && kind != TrueColour && kind != Grey)
        return "unsupported image type";
    if (h.ColorMapType > 1)
        return "unknown colour map type";
    // A true-colour or grey file may carry a map it does not use; we still
    // need its entry size to skip it.
    if (h.ColorMapType == 1 && !isColourDepth(h.ColorMapEntrySize))
        return "unsupported colour map entry size";
    // Interleaved rows (bits 6-7) belong to boards of the 1980s; better
    // refused than shown scrambled.
    if (h.ImageDescriptor & 0xC0)
        return "interleaved rows";
    if (h.Width == 0 || h.Height == 0)
        return "zero width or height";
    if (kind == ColourMapped && (h.ColorMapType != 1 || h.ColorMapLength == 0))
        return "colour-mapped picture without a colour map";
    if (kind == TrueColour ? !isColourDepth(h.PixelDepth) : h.PixelDepth != 8 && h.PixelDepth != 16)
        return "unsupported pixel depth for the image type";
    return nullptr;
}

RuntimeError invalid(const char *why)
{
    qCWarning(lcRaster) << "TGA:" << why;
    return runtimeError(Err::InvalidPicture);
}

// 5-bit channels widen by repeating their top bits below them, so that 0
// and 31 land on 0 and 255 and the steps between stay even.
constexpr int widen5(int v)
{
    return v << 3 | v >> 2;
}

// A 15, 16, 24 or 32-bit colour, stored B, G, R. The top bit of 16 and the
// fourth byte of 32 are attribute or alpha bits, of no use at 24 bits.
QRgb colourAt(const uint8_t *p, int bits)
{
    if (bits <= 16) {
        const int v = p[0] | p[1] << 8;
        return qRgb(widen5(v >> 10 & 31), widen5(v >> 5 & 31), widen5(v & 31));
    }
    return qRgb(p[2], p[1], p[0]);
}

// Pixels in file order. An uncompressed file reads as one endless raw
// packet. RLE packets may run on across scan lines, as real files have
// them; one that reaches past the last pixel is simply not read to its end.
class PixelReader {
public:
    PixelReader(const TGAHEADER &h, const std::vector<QRgb> &map, const uint8_t *p,
                const uint8_t *end)
        : m_map(map), m_p(p), m_end(end), m_kind(h.ImageType & ~Rle), m_bits(h.PixelDepth),
          m_bytes((h.PixelDepth + 7) / 8), m_first(h.FirstEntryIndex)
    {
        if (!(h.ImageType & Rle))
            m_raw = std::numeric_limits<qsizetype>::max();
    }

    // Fills `out` with n pixels; the reason when it cannot.
    const char *read(QRgb *out, qsizetype n)
    {
        while (n > 0) {
            if (m_repeat > 0) {
                const qsizetype take = std::min(n, m_repeat);
                std::fill_n(out, take, m_value);
                out += take;
                n -= take;
                m_repeat -= take;
            } else if (m_raw > 0) {
                if (const char *why = next(*out))
                    return why;
                ++out;
                --n;
                --m_raw;
            } else {  // a packet header: top bit set for a run of one value
                if (m_p == m_end)
                    return "pixel data cut short";
                const uint8_t c = *m_p++;
                if (c & 0x80) {
                    if (const char *why = next(m_value))
                        return why;
                    m_repeat = (c & 0x7F) + 1;
                } else {
                    m_raw = c + 1;
                }
            }
        }
        return nullptr;
    }

private:
    const char *next(QRgb &out)
    {
        if (m_end - m_p < m_bytes)
            return "pixel data cut short";
        const uint8_t *p = m_p;
        m_p += m_bytes;
        if (m_kind == ColourMapped) {
            const int index = (m_bytes == 2 ? p[0] | p[1] << 8 : p[0]) - m_first;
            if (index < 0 || size_t(index) >= m_map.size())
                return "colour index outside the colour map";
            out = m_map[size_t(index)];
        } else if (m_kind == TrueColour) {
            out = colourAt(p, m_bits);
        } else {  // a second grey byte is alpha
            out = qRgb(p[0], p[0], p[0]);
        }
        return nullptr;
    }

    const std::vector<QRgb> &m_map;
    const uint8_t *m_p, *m_end;
    const int m_kind, m_bits, m_bytes, m_first;
    qsizetype m_repeat = 0, m_raw = 0;
    QRgb m_value = 0;
};

}  // namespace

bool looksLikeTga(QByteArrayView head)
{
    return head.size() >= HeaderSize &&
           !headerProblem(parseHeader(reinterpret_cast<const uint8_t *>(head.data())));
}

Result<TgaPicture> readTga(QByteArrayView data)
{
    // The header, whole.
    if (data.size() < HeaderSize)
        return invalid("header cut short");
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    const TGAHEADER h = parseHeader(bytes);
    if (const char *why = headerProblem(h))
        return invalid(why);
    const int width = h.Width, height = h.Height;
    if (width > Limits::MaxPictureSide || height > Limits::MaxPictureSide ||
        qint64(width) * height > Limits::MaxPicturePixels) {
        qCWarning(lcRaster) << "TGA: picture too large:" << width << "x" << height;
        return runtimeError(Err::OutOfMemory);
    }

    // The least the data must hold. The footer is no pixel data, or a
    // cut file that kept its footer would pass.
    const uint8_t *end = bytes + data.size();
    if (data.size() >= HeaderSize + FooterSize &&
        std::memcmp(end - sizeof FooterSignature, FooterSignature, sizeof FooterSignature) == 0)
        end -= FooterSize;
    const qint64 available = end - bytes - HeaderSize;
    const int pixelBytes = (h.PixelDepth + 7) / 8;
    const qint64 mapBytes =
        h.ColorMapType ? qint64(h.ColorMapLength) * ((h.ColorMapEntrySize + 7) / 8) : 0;
    const qint64 pixels = qint64(width) * height;
    // A run packet covers at most 128 pixels: RLE data shorter than this
    // cannot fill the picture, however it is made.
    const qint64 leastPixelBytes =
        (h.ImageType & Rle) ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    if (h.IdLength + mapBytes > available)
        return invalid("image ID or colour map cut short");
    if (h.IdLength + mapBytes + leastPixelBytes > available)
        return invalid("pixel data cut short");

    // The colour map, only for the type that uses it.
    const uint8_t *p = bytes + HeaderSize + h.IdLength;
    std::vector<QRgb> map;
    if ((h.ImageType & ~Rle) == ColourMapped) {
        map.resize(h.ColorMapLength);
        const int entryBytes = (h.ColorMapEntrySize + 7) / 8;
        for (size_t i = 0; i < map.size(); ++i)
            map[i] = colourAt(p + i * size_t(entryBytes), h.ColorMapEntrySize);
    }
    p += mapBytes;

    // Scan lines in file order: bottom-up unless descriptor bit 5 is set,
    // each left to right unless bit 4 is.
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return runtimeError(Err::OutOfMemory);
    const bool topDown = h.ImageDescriptor & 0x20, rightToLeft = h.ImageDescriptor & 0x10;
    PixelReader reader(h, map, p, end);
    for (int row = 0; row < height; ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(topDown ? row : height - 1 - row));
        if (const char *why = reader.read(line, width))
            return invalid(why);
        if (rightToLeft)
            std::reverse(line, line + width);
    }
    return TgaPicture{std::move(image), h.PixelDepth};
}

}  // namespace varno
