// Picture files: every format and depth in, damaged and oversized files
// refused, PNG and JPEG out.
#include "pictures.h"

#include "app/raster/pictureio.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>

using namespace varno;
using namespace varno::test;

namespace {

QImage monoOf(const QImage &image)
{
    QImage mono(image.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            mono.setPixel(x, y, qGreen(image.pixel(x, y)) > 128 ? 1 : 0);
    return mono;
}

QImage blankMono(int w, int h)
{
    QImage mono(w, h, QImage::Format_Mono);
    mono.fill(0);
    return mono;
}

QImage indexedOf(const QImage &image)
{
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

struct Format {
    const char *name;
    std::function<QByteArray()> bytes;
    std::function<QImage()> expected;
    int bits;
    int tolerance;  // per channel; JPEG is lossy
};

// 40 colours: with 16 or fewer, Qt would write 4-bit BMP files.
const QImage Bands = bands(24, 16, 40), Mono = monoOf(Bands), Indexed = indexedOf(Bands);

QImage indexed16()
{
    QImage image(23, 5, QImage::Format_Indexed8);  // odd width: partial bytes
    QList<QRgb> table;
    for (int i = 0; i < 16; ++i)
        table.append(qRgb(i * 16, 255 - i * 16, i * 5));
    image.setColorTable(table);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 23; ++x)
            image.setPixel(x, y, uint((x + 2 * y) % 16));
    return image;
}

const Format Formats[] = {
    {"png24", [] { return encodeWithQt(Bands, "png"); }, [] { return Bands; }, 24, 0},
    {"png8", [] { return encodeWithQt(Indexed, "png"); }, [] { return Indexed; }, 8, 0},
    {"png1", [] { return encodeWithQt(Mono, "png"); }, [] { return Mono; }, 1, 0},
    {"png32", [] { return encodeWithQt(Bands.convertToFormat(QImage::Format_ARGB32), "png"); },
     [] { return Bands; }, 32, 0},
    {"bmp24", [] { return encodeWithQt(Bands, "bmp"); }, [] { return Bands; }, 24, 0},
    {"bmp8", [] { return encodeWithQt(Indexed, "bmp"); }, [] { return Indexed; }, 8, 0},
    {"bmp4", [] { return encodeWithQt(indexed16(), "bmp"); }, [] { return indexed16(); }, 4, 0},
    {"bmp1", [] { return encodeWithQt(Mono, "bmp"); }, [] { return Mono; }, 1, 0},
    {"jpeg24", [] { return encodeWithQt(smooth(32, 24), "jpeg", 95); },
     [] { return smooth(32, 24); }, 24, 8},  // colour is subsampled
    {"jpeg8",
     [] {
         return encodeWithQt(smooth(32, 24).convertToFormat(QImage::Format_Grayscale8), "jpeg", 95);
     },
     [] { return smooth(32, 24).convertToFormat(QImage::Format_Grayscale8); }, 8, 3},
    {"gif8", [] { return encodeGif(Indexed); }, [] { return Indexed; }, 8, 0},
    {"tiff24", [] { return encodeWithQt(Bands, "tiff"); }, [] { return Bands; }, 24, 0},
    {"tiff8", [] { return encodeWithQt(Indexed, "tiff"); }, [] { return Indexed; }, 8, 0},
    {"tiff1", [] { return encodeWithQt(Mono, "tiff"); }, [] { return Mono; }, 1, 0},
    {"tga24", [] { return encodeTga(Bands, 24); }, [] { return Bands; }, 24, 0},
    {"tga32", [] { return encodeTga(Bands, 32); }, [] { return Bands; }, 32, 0},
    {"pcx1", [] { return encodePcx(Mono, 1, 1); }, [] { return Mono; }, 1, 0},
    {"pcx4planes", [] { return encodePcx(indexed16(), 1, 4); }, [] { return indexed16(); }, 4, 0},
    {"pcx4packed", [] { return encodePcx(indexed16(), 4, 1); }, [] { return indexed16(); }, 4, 0},
    {"pcx8", [] { return encodePcx(Indexed, 8, 1); }, [] { return Indexed; }, 8, 0},
    {"pcx24", [] { return encodePcx(Bands, 8, 3); }, [] { return Bands; }, 24, 0},
};

class Load : public testing::TestWithParam<Format> {};

void PrintTo(const Format &f, std::ostream *os)
{
    *os << f.name;
}

}  // namespace

TEST_P(Load, KeepsTheSourceDepthUntilConverted)
{
    const Format &f = GetParam();
    Raster r = LoadPictureData(f.bytes());
    const QImage expected = f.expected();
    EXPECT_EQ(r.bitsPerPixel(), f.bits);
    r.convertTo24();
    EXPECT_EQ(r.bitsPerPixel(), 24);
    EXPECT_TRUE(sameWithin(r, expected.convertToFormat(QImage::Format_RGB32), f.tolerance,
                           QString::fromLatin1(f.name)));
}

TEST_P(Load, CutShortGivesInvalidPicture)
{
    const QByteArray data = GetParam().bytes();
    for (const qsizetype size :
         {data.size() / 2, std::min<qsizetype>(20, data.size() / 4), qsizetype(0)}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(errorOf([&] { LoadPictureData(data.left(size)); }), Err::InvalidPicture);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Load, testing::ValuesIn(Formats),
                         [](const auto &info) { return std::string(info.param.name); });

// The damage Qt's own readers let through as a part-grey picture.
TEST(PictureIo, CompletenessChecksCatchWhatTheReadersAccept)
{
    const QByteArray jpeg = encodeWithQt(smooth(32, 24), "jpeg");
    const QByteArray gif = encodeGif(Indexed), tga = encodeTga(Bands, 24);
    const struct {
        const char *name;
        QByteArray data;
        int error;
    } cases[] = {
        {"jpeg without EOI", jpeg.chopped(2), Err::InvalidPicture},
        {"jpeg cut inside the scan", jpeg.chopped(40), Err::InvalidPicture},
        {"jpeg with trailing bytes", jpeg + QByteArray(100, 'x'), 0},
        {"gif without block terminator", gif.chopped(2), Err::InvalidPicture},
        {"gif without trailer", gif.chopped(1), 0},
        {"tga pixels cut, footer kept", tga.left(18 + 100) + tga.right(26), Err::InvalidPicture},
        {"bmp pixels cut by one byte", encodeWithQt(Bands, "bmp").chopped(1), Err::InvalidPicture},
        {"unknown content", QByteArray("not a picture at all, honestly"), Err::InvalidPicture},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { LoadPictureData(c.data); }), c.error);
    }
}

// A few bytes must not make us allocate gigabytes: sizes are refused from the
// header, before decoding.
TEST(PictureIo, OversizedPicturesAreRefusedFromTheHeader)
{
    auto withSize = [](QByteArray data, std::initializer_list<int> at, int value) {
        for (int offset : at)
            putLe16(data, offset, value);
        return data;
    };
    const struct {
        const char *name;
        QByteArray data;
    } cases[] = {
        {"png too wide", encodeWithQt(blankMono(16385, 1), "png")},
        {"png too many pixels", encodeWithQt(blankMono(8192, 8193), "png")},
        {"bmp header", withSize(encodeWithQt(Bands, "bmp"), {18, 22}, 30000)},
        {"gif header", withSize(encodeGif(Indexed), {6, 8, 13 + 384 + 5, 13 + 384 + 7}, 60000)},
        {"tga header", withSize(encodeTga(Bands, 24), {12, 14}, 60000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_LT(c.data.size(), 3 << 20);
        EXPECT_EQ(errorOf([&] { LoadPictureData(c.data); }), Err::OutOfMemory);
    }
}

TEST(PictureIo, FilesAreRecognisedByContent)
{
    Sandbox box;
    const struct {
        const char *name;
        QByteArray data;
        int error;
    } cases[] = {
        {"main.gif", encodeWithQt(Bands, "png"), 0},
        {"menu.gif", encodeWithQt(Bands, "jpeg"), 0},
        {"photo.png", encodeGif(Indexed), 0},
        {"old.bmp", encodePcx(Bands, 8, 3), 0},
        {"art.tga", encodeTga(Bands, 24), 0},
        {"art.bmp", encodeTga(Bands, 24), Err::InvalidPicture},  // TGA has no signature
        {"empty.png", QByteArray(), Err::InvalidPicture},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(box.file(QLatin1String(c.name)), c.data);
        EXPECT_EQ(errorOf([&] { LoadPicture(box.file(QLatin1String(c.name))); }), c.error);
    }
    try {
        LoadPicture(box.file(QStringLiteral("missing.png")));
        FAIL();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.Number, Err::FileNotFound);
        EXPECT_EQ(e.Description, QStringLiteral("File not found"));
    }
    EXPECT_EQ(errorOf([&] { LoadPicture(box.path()); }), Err::PathFileAccess);
}

TEST(PictureIo, PngRoundTripsExactlyAtTwentyFourBits)
{
    Sandbox box;
    const QString path = box.file(QStringLiteral("out.png"));
    writeFile(path, "old content");
    const Raster indexed = Raster::fromImage(Indexed);  // saved converted, source untouched
    SavePng(indexed, path);
    EXPECT_EQ(indexed.bitsPerPixel(), 8);
    const Raster back = LoadPicture(path);
    EXPECT_EQ(back.bitsPerPixel(), 24);
    EXPECT_TRUE(back.samePixels(indexed));
    EXPECT_EQ(QDir(box.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.png")});
}

TEST(PictureIo, JpegFactorTradesSizeForQuality)
{
    Sandbox box;
    const Raster photo = Raster::fromImage(smooth(320, 240, 16));
    SaveJpeg(photo, box.file(QStringLiteral("2.jpg")), 2);
    SaveJpeg(photo, box.file(QStringLiteral("20.jpg")), 20);
    const Raster best = LoadPicture(box.file(QStringLiteral("2.jpg")));
    EXPECT_EQ(best.bitsPerPixel(), 24);
    EXPECT_LE(MaxChannelDifference(best, photo), 24);
    EXPECT_LT(QFileInfo(box.file(QStringLiteral("20.jpg"))).size() * 3 / 2,
              QFileInfo(box.file(QStringLiteral("2.jpg"))).size());

    const std::pair<int, int> pinned[] = {{2, 97}, {10, 85}, {20, 70}, {255, 0}};
    for (const auto &[factor, quality] : pinned)
        EXPECT_EQ(JpegQualityFor(factor), quality) << factor;
    for (int f = 3; f <= 255; ++f)
        ASSERT_LE(JpegQualityFor(f), JpegQualityFor(f - 1)) << f;
    EXPECT_EQ(errorOf([] { JpegQualityFor(1); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { JpegQualityFor(256); }), Err::InvalidProcedureCall);
}

TEST(PictureIo, FailedSavesLeaveNoFileBehind)
{
    Sandbox box;
    const Raster r(4, 4);
    const struct {
        const char *name;
        std::function<void()> save;
        int error;
    } cases[] = {
        {"missing folder", [&] { SavePng(r, box.file(QStringLiteral("no/such/x.png"))); },
         Err::PathNotFound},
        {"name is a folder", [&] { SavePng(r, box.path()); }, Err::PathFileAccess},
        {"null buffer", [&] { SavePng(Raster(), box.file(QStringLiteral("n.png"))); },
         Err::InvalidProcedureCall},
        {"factor out of range", [&] { SaveJpeg(r, box.file(QStringLiteral("q.jpg")), 1); },
         Err::InvalidProcedureCall},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.save), c.error);
    }
    EXPECT_TRUE(QDir(box.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}
