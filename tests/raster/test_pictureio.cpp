// Picture files: each decoder and depth in, damaged and oversized files
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
             Photo = smooth(32, 24), Grey = Photo.convertToFormat(QImage::Format_Grayscale8);

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
    {"bmp4", [] { return encodeWithQt(Indexed16, "bmp"); }, Indexed16, 4},
    {"jpeg24", [] { return encodeWithQt(Photo, "jpeg", 95); }, Photo, 24, 8},  // colour subsampled
    {"jpeg8", [] { return encodeWithQt(Grey, "jpeg", 95); }, Grey, 8, 3},
    {"gif8", [] { return encodeGif(Indexed); }, Indexed, 8},
    {"pcx1", [] { return encodePcx(Mono, 1, 1); }, Mono, 1},
    {"pcx4planes", [] { return encodePcx(Indexed16, 1, 4); }, Indexed16, 4},
    {"pcx4packed", [] { return encodePcx(Indexed16, 4, 1); }, Indexed16, 4},
    {"pcx8", [] { return encodePcx(Indexed, 8, 1); }, Indexed, 8},
    {"pcx24", [] { return encodePcx(Bands, 8, 3); }, Bands, 24},
};

class Load : public testing::TestWithParam<Format> {};

int errorOfLoading(const QByteArray &data)
{
    return errorOf([&] { loadPictureData(data); });
}

QByteArray with(QByteArray data, int at, int value)
{
    putLe16(data, at, value);
    return data;
}

// A 4 x 2 256-colour PCX whose RLE stream is given whole; every entry of
// its palette is (5, 250, 7).
QByteArray pcxWithRle(const QByteArray &rle)
{
    QImage blank(4, 2, QImage::Format_Indexed8);
    blank.setColorTable(QList<QRgb>(256, qRgb(5, 250, 7)));
    blank.fill(0);
    const QByteArray good = encodePcx(blank, 8, 1);
    return good.left(128) + rle + good.right(769);
}

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
    for (const qsizetype size : {data.size() / 2, qsizetype(0)})
        EXPECT_EQ(errorOf([&] { loadPictureData(data.left(size)); }), Err::InvalidPicture) << size;
}

INSTANTIATE_TEST_SUITE_P(Formats, Load, testing::ValuesIn(Formats),
                         [](const auto &info) { return std::string(info.param.name); });

// Qt's own readers let some damage through as a part-grey picture, and a
// few header bytes must not make us allocate gigabytes.
TEST(PictureIo, DamagedAndOversizedPicturesAreRefusedBeforeDecoding)
{
    const QByteArray jpeg = encodeWithQt(Photo, "jpeg"), bmp = encodeWithQt(Bands, "bmp");
    const QByteArray gif = encodeGif(Indexed);
    QImage wide(16385, 1, QImage::Format_Mono), big(8192, 8193, QImage::Format_Mono);
    wide.fill(0);
    big.fill(0);
    const int Invalid = Err::InvalidPicture;
    EXPECT_EQ(errorOfLoading(jpeg.chopped(2)), Invalid);  // without EOI
    EXPECT_EQ(errorOfLoading(jpeg + QByteArray(100, 'x')), 0);
    EXPECT_EQ(errorOfLoading(gif.chopped(2)), Invalid);  // without block terminator
    EXPECT_EQ(errorOfLoading(gif.chopped(1)), 0);        // without trailer
    EXPECT_EQ(errorOfLoading(bmp.chopped(1)), Invalid);
    EXPECT_EQ(errorOfLoading("not a picture at all, honestly"), Invalid);
    EXPECT_EQ(errorOfLoading(encodeWithQt(wide, "png")), Err::OutOfMemory);
    EXPECT_EQ(errorOfLoading(encodeWithQt(big, "png")), Err::OutOfMemory);
    EXPECT_EQ(errorOfLoading(with(with(bmp, 18, 30000), 22, 30000)), Err::OutOfMemory);
    EXPECT_EQ(errorOfLoading(with(with(gif, 6, 60000), 13 + 384 + 5, 60000)), Err::OutOfMemory);
}

TEST(PictureIo, PcxHeadersAndStreamsAreChecked)
{
    const QByteArray pcx = encodePcx(Indexed, 8, 1);
    EXPECT_EQ(errorOfLoading(with(with(pcx, 8, 65535), 10, 65535)), Err::OutOfMemory);
    EXPECT_EQ(errorOfLoading(with(with(pcx, 8, 9000), 10, 9000)), Err::OutOfMemory);
    EXPECT_EQ(errorOfLoading(with(with(pcx, 4, 30), 8, 5)), Err::InvalidPicture);  // reversed
    EXPECT_EQ(errorOfLoading(with(pcx, 66, 23)), Err::InvalidPicture);  // BytesPerLine short
    EXPECT_EQ(errorOfLoading(with(pcx, 66, 60000)), Err::InvalidPicture);
    EXPECT_EQ(errorOfLoading(with(pcx, 3, 2)), Err::InvalidPicture);  // 2 bits per pixel
    EXPECT_EQ(errorOfLoading(with(pcx, int(pcx.size()) - 769, 0)), Err::InvalidPicture);
    EXPECT_EQ(errorOfLoading(pcxWithRle("\x01\x02\x03\xC5")), Err::InvalidPicture);
    // One run of 8 fills both 4-pixel lines; one of 60 overshoots the end.
    for (const char *rle : {"\xC8\x05", "\xFC\x05"}) {
        const Raster r = loadPictureData(pcxWithRle(rle));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(r.image().pixel(x, y), qRgb(5, 250, 7)) << rle;
    }
}

TEST(PictureIo, FilesAreRecognisedByContent)
{
    Sandbox box;
    auto load = [&](const char *name, const QByteArray &data) {
        writeFile(box.file(QLatin1String(name)), data);
        return errorOf([&] { loadPicture(box.file(QLatin1String(name))); });
    };
    EXPECT_EQ(load("main.gif", encodeWithQt(Bands, "png")), 0);
    EXPECT_EQ(load("old.bmp", encodePcx(Bands, 8, 3)), 0);
    QString description;
    EXPECT_EQ(errorOf([&] { loadPicture(box.file("missing.png")); }, &description),
              Err::FileNotFound);
    EXPECT_EQ(description, QStringLiteral("File not found"));
    EXPECT_EQ(errorOf([&] { loadPicture(box.path()); }), Err::PathFileAccess);
}

TEST(PictureIo, JpegFactorTradesSizeForQuality)
{
    Sandbox box;
    const Raster photo = Raster::fromImage(smooth(320, 240, 16));
    saveJpeg(photo, box.file(QStringLiteral("2.jpg")), 2);
    saveJpeg(photo, box.file(QStringLiteral("20.jpg")), 20);
    EXPECT_LE(maxChannelDifference(loadPicture(box.file(QStringLiteral("2.jpg"))), photo), 24);
    EXPECT_LT(QFileInfo(box.file(QStringLiteral("20.jpg"))).size() * 3 / 2,
              QFileInfo(box.file(QStringLiteral("2.jpg"))).size());

    EXPECT_EQ(jpegQualityFor(255), 0);
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
    EXPECT_EQ(errorOf([&] { savePng(r, box.file("no/such/x.png")); }), Err::PathNotFound);
    EXPECT_EQ(errorOf([&] { savePng(r, box.path()); }), Err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { savePng(Raster(), box.file("n.png")); }), Err::InvalidProcedureCall);
    EXPECT_EQ(QDir(box.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("out.png")});
}
