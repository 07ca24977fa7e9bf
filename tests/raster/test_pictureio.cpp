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

// 40 colours: with 16 or fewer, Qt would write 4-bit BMP files. The 16-colour
// picture has an odd width, so its lines end in part of a byte.
const QImage Bands = bands(24, 16, 40),
             Mono =
                 Bands.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)}),
             Indexed = Bands.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither),
             Indexed16 = bands(23, 5, 16).convertToFormat(QImage::Format_Indexed8),
             Argb = Bands.convertToFormat(QImage::Format_ARGB32), Photo = smooth(32, 24),
             Grey = Photo.convertToFormat(QImage::Format_Grayscale8);

struct Format {
    const char *name;
    std::function<QByteArray()> bytes;  // encoded on use, once Qt's plugins can load
    QImage expected;
    int bits;
    int tolerance = 0;  // per channel; JPEG is lossy
};

const Format Formats[] = {
    {"png24", [] { return encodeWithQt(Bands, "png"); }, Bands, 24},
    {"png8", [] { return encodeWithQt(Indexed, "png"); }, Indexed, 8},
    {"png1", [] { return encodeWithQt(Mono, "png"); }, Mono, 1},
    {"png32", [] { return encodeWithQt(Argb, "png"); }, Bands, 32},
    {"bmp24", [] { return encodeWithQt(Bands, "bmp"); }, Bands, 24},
    {"bmp8", [] { return encodeWithQt(Indexed, "bmp"); }, Indexed, 8},
    {"bmp4", [] { return encodeWithQt(Indexed16, "bmp"); }, Indexed16, 4},
    {"bmp1", [] { return encodeWithQt(Mono, "bmp"); }, Mono, 1},
    {"jpeg24", [] { return encodeWithQt(Photo, "jpeg", 95); }, Photo, 24, 8},  // colour subsampled
    {"jpeg8", [] { return encodeWithQt(Grey, "jpeg", 95); }, Grey, 8, 3},
    {"gif8", [] { return encodeGif(Indexed); }, Indexed, 8},
    {"tiff24", [] { return encodeWithQt(Bands, "tiff"); }, Bands, 24},
    {"tiff8", [] { return encodeWithQt(Indexed, "tiff"); }, Indexed, 8},
    {"tiff1", [] { return encodeWithQt(Mono, "tiff"); }, Mono, 1},
    {"tga24", [] { return encodeTga(Bands, 24); }, Bands, 24},
    {"tga32", [] { return encodeTga(Bands, 32); }, Bands, 32},
    {"pcx1", [] { return encodePcx(Mono, 1, 1); }, Mono, 1},
    {"pcx4planes", [] { return encodePcx(Indexed16, 1, 4); }, Indexed16, 4},
    {"pcx4packed", [] { return encodePcx(Indexed16, 4, 1); }, Indexed16, 4},
    {"pcx8", [] { return encodePcx(Indexed, 8, 1); }, Indexed, 8},
    {"pcx24", [] { return encodePcx(Bands, 8, 3); }, Bands, 24},
};

class Load : public testing::TestWithParam<Format> {};

}  // namespace

// A loaded picture keeps its source depth until converted; any cut gives
// InvalidPicture rather than a part-grey picture.
TEST_P(Load, KeepsTheSourceDepthAndRefusesTheFileCutShort)
{
    const Format &f = GetParam();
    const QByteArray data = f.bytes();
    Raster r = loadPictureData(data);
    EXPECT_EQ(r.bitsPerPixel(), f.bits);
    r.convertTo24();
    EXPECT_EQ(r.bitsPerPixel(), 24);
    EXPECT_TRUE(sameWithin(r, f.expected.convertToFormat(QImage::Format_RGB32), f.tolerance,
                           QString::fromLatin1(f.name)));
    for (const qsizetype size :
         {data.size() / 2, std::min<qsizetype>(20, data.size() / 4), qsizetype(0)}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(errorOf([&] { loadPictureData(data.left(size)); }), Err::InvalidPicture);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Load, testing::ValuesIn(Formats),
                         [](const auto &info) { return std::string(info.param.name); });

// Qt's own readers let some damage through as a part-grey picture, and a
// few header bytes must not make us allocate gigabytes.
TEST(PictureIo, DamagedAndOversizedPicturesAreRefusedBeforeDecoding)
{
    const QByteArray jpeg = encodeWithQt(Photo, "jpeg"), bmp = encodeWithQt(Bands, "bmp");
    const QByteArray gif = encodeGif(Indexed), tga = encodeTga(Bands, 24);
    auto withSize = [](QByteArray data, std::initializer_list<int> at, int value) {
        for (int offset : at)
            putLe16(data, offset, value);
        return data;
    };
    QImage wide(16385, 1, QImage::Format_Mono), big(8192, 8193, QImage::Format_Mono);
    wide.fill(0);
    big.fill(0);
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
        {"bmp pixels cut by one byte", bmp.chopped(1), Err::InvalidPicture},
        {"unknown content", QByteArray("not a picture at all, honestly"), Err::InvalidPicture},
        {"png too wide", encodeWithQt(wide, "png"), Err::OutOfMemory},
        {"png too many pixels", encodeWithQt(big, "png"), Err::OutOfMemory},
        {"bmp header", withSize(bmp, {18, 22}, 30000), Err::OutOfMemory},
        {"gif header", withSize(gif, {6, 8, 13 + 384 + 5, 13 + 384 + 7}, 60000), Err::OutOfMemory},
        {"tga header", withSize(tga, {12, 14}, 60000), Err::OutOfMemory},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { loadPictureData(c.data); }), c.error);
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
        {"photo.png", encodeGif(Indexed), 0},
        {"old.bmp", encodePcx(Bands, 8, 3), 0},
        {"art.tga", encodeTga(Bands, 24), 0},
        {"art.bmp", encodeTga(Bands, 24), Err::InvalidPicture},  // TGA has no signature
        {"empty.png", QByteArray(), Err::InvalidPicture},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(box.file(QLatin1String(c.name)), c.data);
        EXPECT_EQ(errorOf([&] { loadPicture(box.file(QLatin1String(c.name))); }), c.error);
    }
    try {
        loadPicture(box.file(QStringLiteral("missing.png")));
        FAIL();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number, Err::FileNotFound);
        EXPECT_EQ(e.description, QStringLiteral("File not found"));
    }
    EXPECT_EQ(errorOf([&] { loadPicture(box.path()); }), Err::PathFileAccess);
}

TEST(PictureIo, JpegFactorTradesSizeForQuality)
{
    Sandbox box;
    const Raster photo = Raster::fromImage(smooth(320, 240, 16));
    saveJpeg(photo, box.file(QStringLiteral("2.jpg")), 2);
    saveJpeg(photo, box.file(QStringLiteral("20.jpg")), 20);
    const Raster best = loadPicture(box.file(QStringLiteral("2.jpg")));
    EXPECT_LE(maxChannelDifference(best, photo), 24);
    EXPECT_LT(QFileInfo(box.file(QStringLiteral("20.jpg"))).size() * 3 / 2,
              QFileInfo(box.file(QStringLiteral("2.jpg"))).size());

    EXPECT_EQ(jpegQualityFor(255), 0);
    for (int f = 3; f <= 255; ++f)
        ASSERT_LE(jpegQualityFor(f), jpegQualityFor(f - 1)) << f;
    EXPECT_EQ(errorOf([] { jpegQualityFor(1); }), Err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { jpegQualityFor(256); }), Err::InvalidProcedureCall);
}

// PNG comes back exactly, at 24 bits. A file is replaced only once the whole
// picture is written, and a failed save leaves nothing behind.
TEST(PictureIo, SavesWriteWholeFilesOrNone)
{
    Sandbox box;
    const QString path = box.file(QStringLiteral("out.png"));
    writeFile(path, "old content");
    const Raster indexed = Raster::fromImage(Indexed);  // saved converted, source untouched
    savePng(indexed, path);
    EXPECT_EQ(indexed.bitsPerPixel(), 8);
    const Raster back = loadPicture(path);
    EXPECT_EQ(back.bitsPerPixel(), 24);
    EXPECT_TRUE(back.samePixels(indexed));

    const Raster r(4, 4);
    const struct {
        const char *name;
        std::function<void()> save;
        int error;
    } cases[] = {
        {"missing folder", [&] { savePng(r, box.file("no/such/x.png")); }, Err::PathNotFound},
        {"name is a folder", [&] { savePng(r, box.path()); }, Err::PathFileAccess},
        {"null buffer", [&] { savePng(Raster(), box.file("n.png")); }, Err::InvalidProcedureCall},
        {"factor out of range", [&] { saveJpeg(r, box.file("q.jpg"), 1); },
         Err::InvalidProcedureCall},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.save), c.error);
    }
    EXPECT_EQ(QDir(box.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("out.png")});
}
