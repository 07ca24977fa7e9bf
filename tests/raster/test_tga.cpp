// The TGA reader: each image type, depth and orientation, raw and RLE,
// built here byte by byte; damaged and hostile files, one per refusal.
#include "pictures.h"

#include <QFile>

#include "app/raster/pictureio.h"
#include "app/raster/tga.h"
#include "support/sandbox.h"

using namespace varno;
using namespace varno::test;

namespace {

const QByteArray Footer = QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18);

QByteArray header(int type, int depth, int w, int h, int descriptor = 0x20, int mapLength = 0,
                  int mapBits = 0, int first = 0)
{
    QByteArray t(18, '\0');
    t[1] = char(mapLength > 0 || mapBits > 0);
    t[2] = char(type);
    putLe16(t, 3, first);
    putLe16(t, 5, mapLength);
    t[7] = char(mapBits);
    putLe16(t, 12, w);
    putLe16(t, 14, h);
    t[16] = char(depth);
    t[17] = char(descriptor);
    return t;
}

// A colour as stored at `bits`: B, G, R; at 16 the channels' top five bits
// with the attribute bit set; at 32 a junk alpha. The reader must ignore
// attribute and alpha.
QByteArray stored(QRgb c, int bits)
{
    if (bits == 16) {
        const int v = 1 << 15 | qRed(c) >> 3 << 10 | qGreen(c) >> 3 << 5 | qBlue(c) >> 3;
        return QByteArray(1, char(v)).append(char(v >> 8));
    }
    QByteArray out = QByteArray(1, char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
    return bits == 32 ? out.append('\x7F') : out;
}

// Run packets only, a run continuing over scan lines as far as it goes.
QByteArray runs(const QList<QByteArray> &pixels)
{
    QByteArray out;
    for (qsizetype i = 0, n = 1; i < pixels.size(); i += n) {
        for (n = 1; i + n < pixels.size() && n < 128 && pixels[i + n] == pixels[i];)
            ++n;
        out.append(char(0x80 | (n - 1))).append(pixels[i]);
    }
    return out;
}

// Every channel value here survives five bits widened as (v << 3) | (v >> 2).
const QRgb Palette[12] = {qRgb(255, 0, 0),    qRgb(0, 255, 0),     qRgb(0, 0, 255),
                          qRgb(8, 66, 132),   qRgb(189, 255, 99),  qRgb(173, 8, 66),
                          qRgb(99, 132, 189), qRgb(255, 255, 255), qRgb(66, 189, 8),
                          qRgb(132, 99, 173), qRgb(0, 173, 255),   qRgb(8, 8, 8)};

// Asymmetric, so a wrong orientation shows; the edge columns are one colour,
// so that in every orientation a run crosses each scan line boundary.
constexpr int W = 5, H = 3;
constexpr int Pattern[H][W] = {{0, 1, 2, 3, 0}, {0, 4, 4, 5, 0}, {0, 6, 7, 8, 0}};

int errorOfTga(const QByteArray &data)
{
    const Result<TgaPicture> r = readTga(data);
    return r.ok() ? 0 : r.error().number;
}

}  // namespace

// The map is stored reversed and starts at a non-zero index, so a reader
// that ignores the first entry index or the map order shows wrong colours.
TEST(Tga, DecodesEachTypeDepthAndOrientationExactly)
{
    const struct {
        int type, depth, mapBits;
        bool compressed;
        int descriptor;  // bit 5 top-down, bit 4 right to left
    } cases[] = {{1, 8, 24, false, 0x00}, {1, 16, 16, true, 0x20}, {2, 16, 0, false, 0x10},
                 {2, 24, 0, true, 0x30},  {2, 32, 0, false, 0x20}, {3, 8, 0, true, 0x00},
                 {3, 16, 0, false, 0x10}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "/" << c.depth << "/" << c.descriptor);
        const int first = c.depth == 16 ? 1000 : 200;
        QByteArray map;
        for (int k = 0; c.type == 1 && k < 12; ++k)
            map.append(stored(Palette[11 - k], c.mapBits));
        auto grey = [](int s) { return 30 * s + 5; };
        QList<QByteArray> pixels;
        QImage expected(W, H, QImage::Format_RGB32);
        for (int row = 0; row < H; ++row)
            for (int col = 0; col < W; ++col) {
                const int y = c.descriptor & 0x20 ? row : H - 1 - row;
                const int x = c.descriptor & 0x10 ? W - 1 - col : col;
                const int s = Pattern[y][x], index = first + 11 - s;
                if (c.type == 1)
                    pixels.append(QByteArray(1, char(index)) +
                                  (c.depth == 16 ? QByteArray(1, char(index >> 8)) : ""));
                else if (c.type == 2)
                    pixels.append(stored(Palette[s], c.depth));
                else
                    pixels.append(QByteArray(1, char(grey(s))) + (c.depth == 16 ? "\x40" : ""));
                expected.setPixel(x, y, c.type == 3 ? qRgb(grey(s), grey(s), grey(s)) : Palette[s]);
            }
        const Result<TgaPicture> r =
            readTga(header(c.type + (c.compressed ? 8 : 0), c.depth, W, H, c.descriptor,
                           c.type == 1 ? 12 : 0, c.mapBits, first) +
                    map + (c.compressed ? runs(pixels) : pixels.join()));
        ASSERT_TRUE(r.ok()) << r.error().number;
        EXPECT_EQ(r.value().bitsPerPixel, c.depth);
        EXPECT_EQ(r.value().image, expected);
    }
}

TEST(Tga, DamagedOrHostileFilesAreRefused)
{
    const QByteArray px = stored(Palette[5], 24), pixels = px.repeated(8);
    const QByteArray raw = header(2, 24, 4, 2) + pixels;
    const QByteArray mapped = header(1, 8, 4, 2, 0x20, 3, 24, 200) + pixels.left(3 * 3) +
                              "\xC8\xC9\xCA\xC8\xC9\xCA\xC8\xC9";
    const QByteArray runs = header(10, 24, 4, 2) + "\x83" + px + "\x83" + px;
    auto with = [](QByteArray data, int at, int value) {
        data[at] = char(value);
        return data;
    };
    auto sized = [](QByteArray data, int w, int h) {
        putLe16(data, 12, w);
        putLe16(data, 14, h);
        return data;
    };
    const int Invalid = Err::InvalidPicture;
    EXPECT_EQ(errorOfTga(mapped), 0);
    EXPECT_EQ(errorOfTga(runs), 0);
    EXPECT_EQ(errorOfTga(raw.left(17)), Invalid);
    EXPECT_EQ(errorOfTga(mapped.left(18 + 8)), Invalid);  // colour map cut
    EXPECT_EQ(errorOfTga(raw.chopped(1) + Footer), Invalid);
    EXPECT_EQ(errorOfTga(runs.chopped(4)), Invalid);  // packets end early
    EXPECT_EQ(errorOfTga(runs.chopped(3)), Invalid);  // a run without its value
    EXPECT_EQ(errorOfTga(header(10, 24, 4, 2) + "\x07" + pixels.chopped(1)), Invalid);
    // Two packets can never fill the largest picture.
    EXPECT_EQ(errorOfTga(sized(runs, 16384, 4096)), Invalid);
    EXPECT_EQ(errorOfTga(sized(raw, 0, 2)), Invalid);
    EXPECT_EQ(errorOfTga(with(raw, 2, 0)), Invalid);             // type 0, no picture
    EXPECT_EQ(errorOfTga(with(mapped, 1, 2)), Invalid);          // colour map type 2
    EXPECT_EQ(errorOfTga(with(mapped, 1, 0)), Invalid);          // colour-mapped without a map
    EXPECT_EQ(errorOfTga(with(mapped, 7, 8)), Invalid);          // map entries of 8 bits
    EXPECT_EQ(errorOfTga(with(raw, 16, 8)), Invalid);            // true colour of 8 bits
    EXPECT_EQ(errorOfTga(with(mapped, 16, 24)), Invalid);        // map indexes of 24 bits
    EXPECT_EQ(errorOfTga(with(raw, 17, 0x60)), Invalid);         // interleaved rows
    EXPECT_EQ(errorOfTga(with(mapped, 27 + 7, 0xCB)), Invalid);  // index past the map
    EXPECT_EQ(errorOfTga(sized(raw, 16385, 1)), Err::OutOfMemory);
    EXPECT_EQ(errorOfTga(sized(raw, 9000, 9000)), Err::OutOfMemory);
}

// Qt's reader refused RLE, colour maps and files without the footer. A raw
// packet runs on over the scan line; the last run reaches past the picture.
// TGA has no signature, so only its name tells it from a damaged file.
TEST(Tga, LoadsThroughPictureFilesNamedSo)
{
    Sandbox box;
    const QByteArray map = stored(Palette[0], 24) + stored(Palette[1], 24) + stored(Palette[2], 24);
    writeFile(box.file(QStringLiteral("a.tga")), header(9, 8, 3, 2, 0x00, 3, 24) + map +
                                                     QByteArray("\x03\x00\x00\x01\x02\xFF\x01", 7));
    QFile::copy(box.file(QStringLiteral("a.tga")), box.file(QStringLiteral("a.bmp")));
    EXPECT_EQ(errorOf([&] { loadPicture(box.file(QStringLiteral("a.bmp"))); }),
              Err::InvalidPicture);
    const Raster r = loadPicture(box.file(QStringLiteral("a.tga")));
    EXPECT_EQ(r.bitsPerPixel(), 8);
    ASSERT_EQ(r.width(), 3);
    const int rows[2][3] = {{2, 1, 1}, {0, 0, 1}};  // bottom-up
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(r.image().pixel(x, y), Palette[rows[y][x]]) << x << "," << y;
}
