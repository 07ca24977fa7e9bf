// varno-thumbnailer: a theme's Today picture for file managers, which start
// one process per file. Qt's picture classes would load the whole graphics
// stack (some thirty libraries, most of the process's time); this reads the
// member with the cabinet reader, decodes it with the browser's JPEG decoder
// (scaled down in libjpeg) or stb, and writes the PNG with the browser's
// encoder.
#include "base/remakeablefile.h"
#include "package/jpegdecode.h"
#include "package/pngencode.h"
#include "package/todaymember.h"

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

namespace {

struct Rgb {
    int width = 0, height = 0;
    varno::PixelBytes pixels;  // 3 bytes a pixel, rows top down
};

// Pictures larger than any device screen are not decoded at all.
constexpr long MaxPixels = 4096L * 4096L;

Rgb decodePng(const QByteArray &data)
{
    Rgb out;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    int channels = 0;
    if (!stbi_info_from_memory(bytes, int(data.size()), &out.width, &out.height, &channels) ||
        long(out.width) * long(out.height) > MaxPixels)
        return {};
    unsigned char *pixels =
        stbi_load_from_memory(bytes, int(data.size()), &out.width, &out.height, &channels, 3);
    if (!pixels)
        return {};
    out.pixels.assign(pixels, pixels + size_t(out.width) * size_t(out.height) * 3);
    stbi_image_free(pixels);
    return out;
}

// Shrunk to fit `fit` x `fit`, keeping its shape; never enlarged.
Rgb fitted(Rgb picture, int fit)
{
    if (picture.width <= fit && picture.height <= fit)
        return picture;
    Rgb out;
    const double scale = std::min(double(fit) / picture.width, double(fit) / picture.height);
    out.width = std::max(1, int(picture.width * scale));
    out.height = std::max(1, int(picture.height * scale));
    out.pixels.resize(size_t(out.width) * size_t(out.height) * 3);
    stbir_resize_uint8(picture.pixels.data(), picture.width, picture.height, 0, out.pixels.data(),
                       out.width, out.height, 0, 3);
    return out;
}

}  // namespace

int main(int argc, char **argv)
{
    // No application object: setting one up costs a file manager's every
    // thumbnail a millisecond or two, and nothing here needs it.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    int size = 128;
    if (args.size() == 4 &&
        (args[0] == QLatin1String("-s") || args[0] == QLatin1String("--size"))) {
        bool ok = false;
        size = args[1].toInt(&ok);
        if (!ok || size < 1 || size > 4096)
            size = 0;
        args = args.mid(2);
    }
    if (args.size() != 2 || size == 0) {
        std::fputs("Usage: varno-thumbnailer [-s SIZE] THEME.tsk OUT.png\n", stderr);
        return 2;
    }
    const auto fail = [&](const QString &why) {
        std::fprintf(stderr, "varno-thumbnailer: %s: %s\n", qPrintable(args[0]), qPrintable(why));
        return 1;
    };
    const varno::TodayMember today = varno::readTodayMember(args[0]);
    if (today.data.isNull())
        return fail(today.problem);
    Rgb decoded;
    if (varno::isJpeg(today.data)) {
        varno::RgbPicture jpeg = varno::decodeJpeg(today.data, QSize(size, size));
        decoded = {jpeg.size.width(), jpeg.size.height(), std::move(jpeg.pixels)};
    } else {
        decoded = decodePng(today.data);
    }
    const Rgb picture = fitted(std::move(decoded), size);
    if (picture.pixels.empty())
        return fail(QStringLiteral("The Today picture cannot be read."));
    const QByteArray png =
        varno::encodeThumbnailPng(picture.pixels.data(), picture.width, picture.height,
                                  picture.width * 3, varno::PixelLayout::Rgb);
    // The file manager reads it back at once and keeps its own copy.
    if (png.isEmpty() || !varno::writeRemakeableFile(args[1], png, 0600).ok()) {
        std::fprintf(stderr, "varno-thumbnailer: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
