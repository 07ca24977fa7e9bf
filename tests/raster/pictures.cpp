// Fixture pictures and encoders for the raster tests.
#include "pictures.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
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
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format;
    return data;
}

void putLe16(QByteArray &data, int at, int value)
{
    qToLittleEndian<uint16_t>(uint16_t(value), data.data() + at);
}

static void appendLe(QByteArray &data, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data.append(char(value >> (8 * i)));
}

QByteArray encodePcx(const QImage &image, int bitsPerPixel, int planes)
{
    const int w = image.width(), h = image.height();
    const int bpl = ((w * bitsPerPixel + 7) / 8 + 1) & ~1;
    QByteArray out(128, '\0');
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = char(bitsPerPixel);
    putLe16(out, 8, w - 1);
    putLe16(out, 10, h - 1);
    out[65] = char(planes);
    putLe16(out, 66, bpl);
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < std::min<int>(16, int(table.size())); ++i) {
        out[16 + 3 * i] = char(qRed(table[i]));
        out[17 + 3 * i] = char(qGreen(table[i]));
        out[18 + 3 * i] = char(qBlue(table[i]));
    }
    const bool indexed = image.depth() <= 8;
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t> line(size_t(bpl) * planes, 0);
        for (int x = 0; x < w; ++x) {
            const int index = indexed ? image.pixelIndex(x, y) : 0;
            const QRgb rgb = image.pixel(x, y);
            if (bitsPerPixel == 1)
                for (int p = 0; p < planes; ++p)
                    line[p * bpl + x / 8] |= uint8_t((index >> p & 1) << (7 - x % 8));
            else if (bitsPerPixel == 4)
                line[x / 2] |= uint8_t(index << (x % 2 ? 0 : 4));
            else if (planes == 1)
                line[x] = uint8_t(index);
            else
                for (int p = 0; p < 3; ++p)
                    line[p * bpl + x] = uint8_t(rgb >> (16 - 8 * p));
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
    if (bitsPerPixel == 8 && planes == 1) {
        out.append(char(0x0C));
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < table.size() ? table[i] : 0;
            out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        }
    }
    return out;
}

QByteArray encodeGif(const QImage &indexed)
{
    QByteArray g("GIF89a");
    appendLe(g, indexed.width(), 2);
    appendLe(g, indexed.height(), 2);
    g.append(char(0x86)).append('\0').append('\0');  // 128-entry global table
    for (int i = 0; i < 128; ++i) {
        const QRgb c = i < indexed.colorCount() ? indexed.color(i) : 0;
        g.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    g.append(',');
    appendLe(g, 0, 4);
    appendLe(g, indexed.width(), 2);
    appendLe(g, indexed.height(), 2);
    g.append('\0').append(char(7));  // 8-bit codes; a clear code every 126 keeps them so
    QByteArray codes(1, char(128));
    int sinceClear = 0;
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            codes.append(char(indexed.pixelIndex(x, y)));
            if (++sinceClear == 126) {
                codes.append(char(128));
                sinceClear = 0;
            }
        }
    codes.append(char(129));
    for (int i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        g.append(char(block.size())).append(block);
    }
    return g.append('\0').append(';');
}

QByteArray encodeTga(const QImage &image, int bits)
{
    QByteArray t(18, '\0');
    t[2] = 2;
    putLe16(t, 12, image.width());
    putLe16(t, 14, image.height());
    t[16] = char(bits);
    t[17] = char(0x20 | (bits == 32 ? 8 : 0));  // top-down
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            appendLe(t, image.pixel(x, y), bits / 8);
    appendLe(t, 0, 8);
    return t.append("TRUEVISION-XFILE.").append('\0');
}

::testing::AssertionResult sameWithin(const Raster &actual, const QImage &expected, int tolerance,
                                      const QString &name)
{
    const int diff = MaxChannelDifference(actual, Raster::fromImage(expected));
    if (diff >= 0 && diff <= tolerance)
        return ::testing::AssertionSuccess();
    const QString base = QDir::current().filePath(name);
    actual.image().save(base + QStringLiteral("-actual.png"));
    expected.save(base + QStringLiteral("-expected.png"));
    return ::testing::AssertionFailure()
           << name.toStdString() << ": largest channel difference " << diff << " (tolerance "
           << tolerance << "); see " << base.toStdString() << "-actual.png and -expected.png";
}

}  // namespace varno::test
