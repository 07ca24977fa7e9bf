#include "package/pngencode.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace varno {

namespace {

constexpr int MaxSide = 8192;  // twice the largest thumbnail asked for

void appendChunk(QByteArray &png, const char *type, const char *data, qsizetype size)
{
    char length[4];
    qToBigEndian<quint32>(quint32(size), length);
    png.append(length, 4);
    const qsizetype start = png.size();
    png.append(type, 4);
    png.append(data, size);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(png.constData() + start), 4);
    if (size > 0)  // zlib reads no data as a request to start over
        crc = crc32(crc, reinterpret_cast<const Bytef *>(data), uInt(size));
    char sum[4];
    qToBigEndian<quint32>(quint32(crc), sum);
    png.append(sum, 4);
}

unsigned char paethPredictor(int left, int up, int upLeft)
{
    const int p = left + up - upLeft;
    const int toLeft = std::abs(p - left), toUp = std::abs(p - up), toUpLeft = std::abs(p - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return static_cast<unsigned char>(left);
    return static_cast<unsigned char>(toUp <= toUpLeft ? up : upLeft);
}

// A row less its Paeth predictions. Encoding knows every neighbour up
// front, so unlike decoding the bytes do not wait on each other: eight at
// a time on 16-bit lanes where the compiler has vector types.
void paethFilter(const unsigned char *row, const unsigned char *above, qsizetype size,
                 unsigned char *out)
{
    qsizetype i = 0;
    for (; i < std::min<qsizetype>(3, size); ++i)
        out[i] = static_cast<unsigned char>(row[i] - paethPredictor(0, above[i], 0));
#if defined(__GNUC__)
    using Lanes = short __attribute__((vector_size(16)));
    using Bytes = unsigned char __attribute__((vector_size(8)));
    const auto load = [](const unsigned char *from) {
        Bytes bytes;
        std::memcpy(&bytes, from, sizeof bytes);
        return __builtin_convertvector(bytes, Lanes);
    };
    const auto magnitude = [](Lanes v) { return (v ^ (v >> 15)) - (v >> 15); };
    for (; i + 8 <= size; i += 8) {
        const Lanes left = load(row + i - 3), up = load(above + i), upLeft = load(above + i - 3);
        const Lanes toLeft = magnitude(up - upLeft), toUp = magnitude(left - upLeft),
                    toUpLeft = magnitude(left + up - upLeft - upLeft);
        const Lanes pickLeft = (toLeft <= toUp) & (toLeft <= toUpLeft);
        const Lanes pickUp = toUp <= toUpLeft;
        const Lanes predicted =
            (left & pickLeft) | (~pickLeft & ((up & pickUp) | (upLeft & ~pickUp)));
        const Bytes filtered = __builtin_convertvector(load(row + i) - predicted, Bytes);
        std::memcpy(out + i, &filtered, sizeof filtered);
    }
#endif
    for (; i < size; ++i)
        out[i] =
            static_cast<unsigned char>(row[i] - paethPredictor(row[i - 3], above[i], above[i - 3]));
}

// One deflate stream per thread, reset between pictures: setting one up
// costs as much as compressing a thumbnail.
struct Deflater {
    z_stream z{};
    bool ready = false;
    Deflater() { ready = deflateInit2(&z, 1, Z_DEFLATED, MAX_WBITS, 8, Z_RLE) == Z_OK; }
    ~Deflater()
    {
        if (ready)
            deflateEnd(&z);
    }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;
};

}  // namespace

QByteArray encodeThumbnailPng(const unsigned char *pixels, int width, int height, qsizetype stride,
                              PixelLayout layout, const PngTexts &texts)
{
    if (!pixels || width < 1 || height < 1 || width > MaxSide || height > MaxSide)
        return {};
    const qsizetype rowBytes = qsizetype(width) * 3;
    // The filtered rows, each led by its filter type; the previous row is
    // kept unfiltered for the predictor.
    QByteArray filtered(height * (rowBytes + 1), Qt::Uninitialized);
    std::vector<unsigned char> rows(size_t(rowBytes) * 2, 0);
    unsigned char *above = rows.data(), *current = rows.data() + rowBytes;
    for (int y = 0; y < height; ++y) {
        const unsigned char *source = pixels + y * stride;
        if (layout == PixelLayout::Bgrx) {
            for (int x = 0; x < width; ++x) {
                current[3 * x] = source[4 * x + 2];
                current[3 * x + 1] = source[4 * x + 1];
                current[3 * x + 2] = source[4 * x];
            }
        } else {
            std::memcpy(current, source, size_t(rowBytes));
        }
        auto *out = reinterpret_cast<unsigned char *>(filtered.data()) + y * (rowBytes + 1);
        *out++ = 4;  // Paeth
        paethFilter(current, above, rowBytes, out);
        std::swap(above, current);
    }

    thread_local Deflater deflater;
    if (!deflater.ready || deflateReset(&deflater.z) != Z_OK)
        return {};
    QByteArray packed(qsizetype(deflateBound(&deflater.z, uLong(filtered.size()))),
                      Qt::Uninitialized);
    z_stream &z = deflater.z;
    z.next_in = reinterpret_cast<Bytef *>(filtered.data());
    z.avail_in = uInt(filtered.size());
    z.next_out = reinterpret_cast<Bytef *>(packed.data());
    z.avail_out = uInt(packed.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END)
        return {};
    packed.truncate(qsizetype(z.total_out));

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(packed.size() + 256);
    char header[13];
    qToBigEndian<quint32>(quint32(width), header);
    qToBigEndian<quint32>(quint32(height), header + 4);
    header[8] = 8;  // bits a channel
    header[9] = 2;  // RGB
    header[10] = header[11] = header[12] = 0;
    appendChunk(png, "IHDR", header, 13);
    for (const auto &[key, value] : texts) {
        const QByteArray text = key + '\0' + value;
        appendChunk(png, "tEXt", text.constData(), text.size());
    }
    appendChunk(png, "IDAT", packed.constData(), packed.size());
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace varno
