// The PCX reader against damaged and hostile files. Good files of every
// depth are covered with the other formats in test_pictureio.cpp.
#include "pictures.h"

#include "app/raster/pcx.h"

using namespace varno;
using namespace varno::test;

namespace {

// A w x 1 or w x 2 256-colour file whose RLE stream is given whole.
QByteArray handMade(int w, int h, const QByteArray &rle)
{
    QImage blank(w, h, QImage::Format_Indexed8);
    blank.setColorTable({0});
    blank.fill(0);
    QByteArray out = encodePcx(blank, 8, 1).left(128);
    putLe16(out, 66, w);
    out.append(rle).append(char(0x0C));
    for (int i = 0; i < 256; ++i)
        out.append(char(i)).append(char(255 - i)).append(char(7));
    return out;
}

int errorOfPcx(const QByteArray &data)
{
    const Result<PcxPicture> r = readPcx(data);
    return r.ok() ? 0 : r.error().number;
}

}  // namespace

TEST(Pcx, DamagedOrHostileFilesAreRefused)
{
    const QByteArray good = encodePcx(bands(24, 16).convertToFormat(QImage::Format_Indexed8), 8, 1);
    const QByteArray truecolour = encodePcx(bands(24, 16), 8, 3);
    auto with = [](QByteArray data, int at, int value) {
        putLe16(data, at, value);
        return data;
    };
    const struct {
        const char *name;
        QByteArray data;
        int error;
    } cases[] = {
        {"good", good, 0},
        {"huge window", with(with(good, 8, 65535), 10, 65535), Err::OutOfMemory},
        {"too many pixels", with(with(good, 8, 9000), 10, 9000), Err::OutOfMemory},
        {"window reversed", with(with(good, 4, 30), 8, 5), Err::InvalidPicture},
        {"BytesPerLine 0", with(good, 66, 0), Err::InvalidPicture},
        {"BytesPerLine short", with(good, 66, 23), Err::InvalidPicture},
        {"BytesPerLine huge", with(good, 66, 60000), Err::InvalidPicture},
        {"2 bits per pixel", with(good, 3, 2), Err::InvalidPicture},
        {"encoding 0", with(good, 2, 0), Err::InvalidPicture},
        {"header cut", good.left(100), Err::InvalidPicture},
        {"palette marker missing", with(good, int(good.size()) - 769, 0), Err::InvalidPicture},
        {"palette cut", good.chopped(300), Err::InvalidPicture},
        {"pixels cut", truecolour.left(truecolour.size() / 2), Err::InvalidPicture},
        {"run count without its value", handMade(4, 1, "\x01\x02\x03\xC5"), Err::InvalidPicture},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOfPcx(c.data), c.error);
    }
}

TEST(Pcx, RunsMayCrossScanLinesAndTheEnd)
{
    // One run of 8 fills both 4-pixel lines; one of 60 overshoots the end.
    for (const QByteArray &rle : {QByteArray("\xC8\x05"), QByteArray("\xFC\x05")}) {
        SCOPED_TRACE(rle.toHex().toStdString());
        const Result<PcxPicture> r = readPcx(handMade(4, 2, rle));
        ASSERT_TRUE(r.ok());
        const QImage &image = r.value().image;
        EXPECT_EQ(image.size(), QSize(4, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(image.pixel(x, y), qRgb(5, 250, 7));
    }
}
