// Fixture pictures and encoders for the raster tests.
#include "pictures.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>

#include <vector>

namespace varno::test {

QImage bands(int w, int h, int colours)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x / 3 + y) % colours;
            image.setPixel(x, y, qRgb(i * 37 % 256, i * 91 % 256, 255 - i * 16 % 256));
        }
    return image;
}

QImage smooth(int w, int h, int noise)
{
    QImage image(w, h, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int n = noise ? int(seed >> 16) % (2 * noise + 1) - noise : 0;
            auto c = [n](int v) { return std::clamp(v + n, 0, 255); };
            image.setPixel(x, y, qRgb(c(x * 255 / w), c(y * 255 / h), c(128)));
        }
    return image;
}

QByteArray encodeWithQt(const QImage &image, const char *format, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    EXPECT_TRUE(image.save(&buffer, format, quality)) << format;
    return data;
}

void putLe16(QByteArray &data, int at, int value)
{
    qToLittleEndian<uint16_t>(uint16_t(value), data.data() + at);
}

// `entries` colours of `table` as R, G, B bytes, black past its end.
static QByteArray rgbTable(const QList<QRgb> &table, int entries)
{
    QByteArray out;
    for (int i = 0; i < entries; ++i)
        for (int shift : {16, 8, 0})
            out.append(char(table.value(i) >> shift));
    return out;
}

QByteArray encodePcx(const QImage &image, int bits, int planes)
{
    const int w = image.width(), h = image.height();
    const int bpl = ((w * bits + 7) / 8 + 1) & ~1;
    QByteArray out(128, '\0');
    out.replace(0, 4, QByteArray("\x0A\x05\x01") + char(bits));  // maker, version, RLE
    putLe16(out, 8, w - 1);
    putLe16(out, 10, h - 1);
    out[65] = char(planes);
    putLe16(out, 66, bpl);
    out.replace(16, 48, rgbTable(image.colorTable(), 16));
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t> line(size_t(bpl) * planes, 0);
        for (int x = 0; x < w; ++x)
            for (int p = 0; p < planes; ++p) {  // each plane packs its values from the top bit
                const int value = planes == 3 ? int(image.pixel(x, y) >> (16 - 8 * p))
                                  : bits == 1 ? image.pixelIndex(x, y) >> p & 1
                                              : image.pixelIndex(x, y);
                line[p * bpl + x * bits / 8] |= uint8_t(value << (8 - bits - x * bits % 8));
            }
        for (size_t i = 0; i < line.size();) {  // RLE
            size_t run = 1;
            while (i + run < line.size() && run < 63 && line[i + run] == line[i])
                ++run;
            if (run > 1 || line[i] >= 0xC0)
                out.append(char(0xC0 | run));
            out.append(char(line[i]));
            i += run;
        }
    }
    if (bits == 8 && planes == 1)
        out.append(char(0x0C)).append(rgbTable(image.colorTable(), 256));
    return out;
}

QByteArray encodeGif(const QImage &indexed)
{
    QByteArray g("GIF89a"), size(4, '\0'), codes;
    putLe16(size, 0, indexed.width());
    putLe16(size, 2, indexed.height());
    g.append(size).append("\x86\0\0", 3).append(rgbTable(indexed.colorTable(), 128));
    g.append(',').append(QByteArray(4, '\0')).append(size).append("\0\7", 2);  // 8-bit codes
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)  // a clear code first keeps them 8 bits wide
            codes.append(char(128)).append(char(indexed.pixelIndex(x, y)));
    codes.append(char(129));
    for (int i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        g.append(char(block.size())).append(block);
    }
    return g.append('\0').append(';');
}

::testing::AssertionResult sameWithin(const Raster &actual, const QImage &expected, int tolerance,
                                      const QString &name)
{
    const int diff = maxChannelDifference(actual, Raster::fromImage(expected));
    if (diff >= 0 && diff <= tolerance)
        return ::testing::AssertionSuccess();
    actual.image().save(QDir::current().filePath(name + QStringLiteral("-actual.png")));
    return ::testing::AssertionFailure()
           << name.toStdString() << ": largest channel difference " << diff << " (tolerance "
           << tolerance << "), see " << name.toStdString() << "-actual.png";
}

}  // namespace varno::test
