// The TGA reader: every image type, depth and orientation, raw and RLE,
// built here byte by byte; damaged and hostile files grouped by the error
// they give.
#include "pictures.h"

#include "app/raster/pictureio.h"
#include "app/raster/tga.h"

#include <array>
#include <tuple>
#include <vector>

using namespace varno;
using namespace varno::test;

namespace {

const QByteArray Footer = QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18);

QByteArray header(int type, int depth, int w, int h, int descriptor = 0x20, int mapLength = 0,
                  int mapBits = 0, int first = 0, int idLength = 0)
{
    QByteArray t(18, '\0');
    t[0] = char(idLength);
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

// A colour as stored at `bits`: B, G, R; at 15 and 16 the channels' top five
// bits, at 16 with the attribute bit set; at 32 a junk alpha. The reader must
// ignore attribute and alpha.
QByteArray stored(QRgb c, int bits)
{
    if (bits <= 16) {
        const int v = (bits == 16) << 15 | qRed(c) >> 3 << 10 | qGreen(c) >> 3 << 5 | qBlue(c) >> 3;
        return QByteArray(1, char(v)).append(char(v >> 8));
    }
    QByteArray out = QByteArray(1, char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
    return bits == 32 ? out.append('\x7F') : out;
}

// Greedy RLE over the whole picture: runs of two or more become run
// packets, whatever scan line they start on, the rest raw packets.
QByteArray rle(const QList<QByteArray> &pixels)
{
    QByteArray out;
    for (qsizetype i = 0; i < pixels.size();) {
        auto runAt = [&](qsizetype at) {
            qsizetype n = 1;
            while (at + n < pixels.size() && n < 128 && pixels[at + n] == pixels[at])
                ++n;
            return n;
        };
        if (const qsizetype run = runAt(i); run > 1) {
            out.append(char(0x80 | (run - 1))).append(pixels[i]);
            i += run;
            continue;
        }
        qsizetype n = 1;
        while (i + n < pixels.size() && n < 128 && runAt(i + n) == 1)
            ++n;
        out.append(char(n - 1));
        for (qsizetype k = 0; k < n; ++k)
            out.append(pixels[i + k]);
        i += n;
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

struct Format {
    const char *name;
    int type, depth, mapBits = 0;
};
const Format Formats[] = {
    {"mapped8_map15", 1, 8, 15},
    {"mapped8_map16", 1, 8, 16},
    {"mapped8_map24", 1, 8, 24},
    {"mapped8_map32", 1, 8, 32},
    {"mapped16_map24", 1, 16, 24},
    {"colour15", 2, 15},
    {"colour16", 2, 16},
    {"colour24", 2, 24},
    {"colour32", 2, 32},
    {"grey8", 3, 8},
    {"grey16", 3, 16},
};
const std::pair<const char *, int> Orientations[] = {
    {"bottomUp", 0x00}, {"topDown", 0x20}, {"rightToLeft", 0x10}, {"rightToLeftTopDown", 0x30}};

using Case = std::tuple<Format, bool, std::pair<const char *, int>>;
std::string caseName(const Case &c)
{
    const auto &[f, compressed, orientation] = c;
    return std::string(compressed ? "rle_" : "raw_") + f.name + "_" + orientation.first;
}
class TgaTypes : public testing::TestWithParam<Case> {};

std::vector<QRgb> pixelsOf(const QImage &image)
{
    std::vector<QRgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.push_back(image.pixel(x, y));
    return out;
}

int errorOfTga(const QByteArray &data)
{
    const Result<TgaPicture> r = readTga(data);
    return r.ok() ? 0 : r.error().number;
}

}  // namespace

// The map is stored reversed and starts at a non-zero index, so a reader
// that ignores the first entry index or the map order shows wrong colours.
TEST_P(TgaTypes, DecodesEveryPixelExactly)
{
    const auto &[f, compressed, orientation] = GetParam();
    const int descriptor = orientation.second;
    const int first = f.depth == 16 ? 1000 : 200;
    QByteArray map;
    if (f.type == 1)
        for (int k = 0; k < 12; ++k)
            map.append(stored(Palette[11 - k], f.mapBits));
    auto grey = [](int s) { return 30 * s + 5; };
    QList<QByteArray> pixels;
    QImage expected(W, H, QImage::Format_RGB32);
    for (int row = 0; row < H; ++row)
        for (int col = 0; col < W; ++col) {
            const int y = descriptor & 0x20 ? row : H - 1 - row;
            const int x = descriptor & 0x10 ? W - 1 - col : col;
            const int s = Pattern[y][x];
            if (f.type == 1) {
                const int index = first + 11 - s;
                pixels.append(f.depth == 8 ? QByteArray(1, char(index))
                                           : QByteArray(1, char(index)).append(char(index >> 8)));
            } else if (f.type == 2) {
                pixels.append(stored(Palette[s], f.depth));
            } else {
                pixels.append(QByteArray(1, char(grey(s))) + (f.depth == 16 ? "\x40" : ""));
            }
            expected.setPixel(x, y, f.type == 3 ? qRgb(grey(s), grey(s), grey(s)) : Palette[s]);
        }
    const QByteArray data = header(f.type + (compressed ? 8 : 0), f.depth, W, H, descriptor,
                                   f.type == 1 ? 12 : 0, f.mapBits, first) +
                            map + (compressed ? rle(pixels) : pixels.join());
    const Result<TgaPicture> r = readTga(data);
    ASSERT_TRUE(r.ok()) << r.error().number;
    EXPECT_EQ(r.value().bitsPerPixel, f.depth);
    EXPECT_EQ(r.value().image.size(), expected.size());
    EXPECT_EQ(pixelsOf(r.value().image), pixelsOf(expected));
}

INSTANTIATE_TEST_SUITE_P(Tga, TgaTypes,
                         testing::Combine(testing::ValuesIn(Formats), testing::Bool(),
                                          testing::ValuesIn(Orientations)),
                         [](const auto &info) { return caseName(info.param); });

// 3 x 2, top-down. Packets run across the scan line and past the picture.
TEST(Tga, RlePacketsCrossScanLinesAndAreClippedAtTheEnd)
{
    const QRgb r = qRgb(255, 0, 0), g = qRgb(0, 255, 0), b = qRgb(0, 0, 255), k = qRgb(9, 9, 9);
    auto px = [](QRgb c) { return stored(c, 24); };
    const struct {
        const char *name;
        QByteArray packets;
        std::array<QRgb, 6> pixels;
    } cases[] = {
        {"raw of 4 across the line",
         "\x03" + px(r) + px(g) + px(b) + px(k) + "\x81" + px(g),
         {r, g, b, k, g, g}},
        {"run of 128 past the end", "\x01" + px(b) + px(g) + "\xFF" + px(k), {b, g, k, k, k, k}},
        {"raw of 128, data ends with the picture",
         "\x7F" + px(r) + px(g) + px(b) + px(k) + px(r) + px(g),
         {r, g, b, k, r, g}},
        {"bytes after the last packet", "\x85" + px(g) + "junk", {g, g, g, g, g, g}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Result<TgaPicture> r = readTga(header(10, 24, 3, 2) + c.packets);
        ASSERT_TRUE(r.ok());
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(r.value().image.pixel(i % 3, i / 3), c.pixels[size_t(i)]) << i;
    }
}

TEST(Tga, DamagedOrHostileFilesAreRefused)
{
    const QByteArray px = stored(Palette[5], 24), pixels = px.repeated(8);
    const QByteArray raw = header(2, 24, 4, 2) + pixels;
    const QByteArray map = pixels.left(3 * 3);
    const QByteArray mapped =
        header(1, 8, 4, 2, 0x20, 3, 24, 200) + map + "\xC8\xC9\xCA\xC8\xC9\xCA\xC8\xC9";
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
    const struct {
        const char *name;
        QByteArray data;
        int error;
    } cases[] = {
        {"good raw", raw, 0},
        {"good colour-mapped", mapped, 0},
        {"good RLE", runs, 0},
        {"header", raw.left(17), Err::InvalidPicture},
        {"colour map", mapped.left(18 + 8), Err::InvalidPicture},
        {"pixels by one byte, footer kept", raw.chopped(1) + Footer, Err::InvalidPicture},
        {"RLE: packets end early", runs.chopped(4), Err::InvalidPicture},
        {"RLE: run without its value", runs.chopped(3), Err::InvalidPicture},
        {"RLE: raw packet inside a pixel", header(10, 24, 4, 2) + "\x07" + pixels.chopped(1),
         Err::InvalidPicture},
        {"RLE: the largest picture from two packets", sized(runs, 16384, 4096),
         Err::InvalidPicture},
        {"zero width", sized(raw, 0, 2), Err::InvalidPicture},
        {"type 0, no picture", with(raw, 2, 0), Err::InvalidPicture},
        {"type 32, Huffman", with(raw, 2, 32), Err::InvalidPicture},
        {"colour map type 2", with(mapped, 1, 2), Err::InvalidPicture},
        {"colour-mapped without a map", with(mapped, 1, 0), Err::InvalidPicture},
        {"colour map entries of 8 bits", with(mapped, 7, 8), Err::InvalidPicture},
        {"true colour of 8 bits", with(raw, 16, 8), Err::InvalidPicture},
        {"map indexes of 24 bits", with(mapped, 16, 24), Err::InvalidPicture},
        {"interleaved rows", with(raw, 17, 0x60), Err::InvalidPicture},
        {"index past the map", with(mapped, 27 + 7, 0xCB), Err::InvalidPicture},
        {"index past the map in a run", header(9, 8, 4, 2, 0x20, 3, 24, 200) + map + "\x87\xCB",
         Err::InvalidPicture},
        {"too wide", sized(raw, 16385, 1), Err::OutOfMemory},
        {"too many pixels", sized(raw, 9000, 9000), Err::OutOfMemory},
        {"largest header", sized(runs, 65535, 65535), Err::OutOfMemory},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOfTga(c.data), c.error);
    }
}

// Qt's reader refused RLE, colour maps and files without the footer.
TEST(Tga, LoadsThroughPictureFiles)
{
    QList<QByteArray> indexes;
    for (int i = 0; i < 6; ++i)
        indexes.append(QByteArray(1, char(i / 2)));
    const QByteArray map = stored(Palette[0], 24) + stored(Palette[1], 24) + stored(Palette[2], 24);
    const Raster r = loadPictureData(header(9, 8, 3, 2, 0x00, 3, 24) + map + rle(indexes));
    EXPECT_EQ(r.bitsPerPixel(), 8);
    ASSERT_EQ(r.width(), 3);
    ASSERT_EQ(r.height(), 2);
    const int rows[2][3] = {{1, 2, 2}, {0, 0, 1}};  // bottom-up
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(r.image().pixel(x, y), Palette[rows[y][x]]) << x << "," << y;
}
