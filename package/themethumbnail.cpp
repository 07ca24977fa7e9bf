#include "package/themethumbnail.h"

#include "package/jpegdecode.h"
#include "package/thumbnailmemory.h"
#include "package/todaymember.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <vector>

namespace varno {

namespace {

// Larger pictures than any device screen are refused before decoding, so a
// few hostile header bytes cannot cost gigabytes.
constexpr qint64 MaxPixels = 4096 * 4096;

#if defined(__GNUC__)
// Shrinks an RGB32 picture by a factor from 1/2 to 1, each pixel from the
// four around its centre: two taps a side cannot alias at that factor,
// which is all the decoder's own scaling leaves. Both passes run on eight
// 16-bit lanes at once (SSE2 or NEON through the compiler's vector types),
// twice as fast as Qt's area averaging, which a browser does thousands of
// times.
using Lanes16 = unsigned short __attribute__((vector_size(16)));
using Bytes8 = unsigned char __attribute__((vector_size(8)));

QImage shrinkBilinear(const QImage &source, QSize to)
{
    QImage out = newThumbnailImage(to);
    const int sw = source.width(), sh = source.height();
    // Where each output pixel's centre falls, in 1/256ths of a pixel.
    const auto taps = [](int from, int size, int i, int &first, unsigned &weight) {
        const qint64 centre = ((2 * qint64(i) + 1) * from << 8) / (2 * size) - (1 << 7);
        const qint64 at = std::clamp<qint64>(centre, 0, qint64(from - 1) << 8);
        first = int(at >> 8);
        weight = unsigned(at & 0xFF);
    };
    const auto splat = [](unsigned v) {
        const auto u = static_cast<unsigned short>(v);
        return Lanes16{u, u, u, u, u, u, u, u};
    };
    const Lanes16 half = splat(128);
    // Per column: its left source pixel and the weights of it and the next.
    std::vector<int> xs(size_t(to.width()));
    std::vector<Lanes16> xw(size_t(to.width()));
    for (int x = 0; x < to.width(); ++x) {
        unsigned w = 0;
        taps(sw, to.width(), x, xs[size_t(x)], w);
        const auto l = static_cast<unsigned short>(256 - w), r = static_cast<unsigned short>(w);
        xw[size_t(x)] = Lanes16{l, l, l, l, r, r, r, r};
    }
    // One source row blended from two, with a copy of its last pixel after.
    std::vector<quint32> blended(size_t(sw) + 2);
    auto *mixed = reinterpret_cast<uchar *>(blended.data());
    for (int y = 0; y < to.height(); ++y) {
        int y0 = 0;
        unsigned wy = 0;
        taps(sh, to.height(), y, y0, wy);
        const uchar *top = source.constScanLine(y0);
        const uchar *bottom = source.constScanLine(std::min(y0 + 1, sh - 1));
        const Lanes16 topWeight = splat(256 - wy), bottomWeight = splat(wy);
        int i = 0;
        for (; i + 8 <= sw * 4; i += 8) {
            Bytes8 a, b;
            std::memcpy(&a, top + i, 8);
            std::memcpy(&b, bottom + i, 8);
            const Lanes16 sum = (__builtin_convertvector(a, Lanes16) * topWeight +
                                 __builtin_convertvector(b, Lanes16) * bottomWeight + half) >>
                                8;
            const Bytes8 narrow = __builtin_convertvector(sum, Bytes8);
            std::memcpy(mixed + i, &narrow, 8);
        }
        for (; i < sw * 4; ++i)
            mixed[i] = uchar((top[i] * (256 - wy) + bottom[i] * wy + 128) >> 8);
        blended[size_t(sw)] = blended[size_t(sw) - 1];
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < to.width(); ++x) {
            Bytes8 pair;  // the left pixel and the next
            std::memcpy(&pair, &blended[size_t(xs[size_t(x)])], 8);
            const Lanes16 weighted = __builtin_convertvector(pair, Lanes16) * xw[size_t(x)];
            const Lanes16 sum =
                (weighted + __builtin_shufflevector(weighted, weighted, 4, 5, 6, 7, 0, 1, 2, 3) +
                 half) >>
                8;
            const Bytes8 narrow = __builtin_convertvector(sum, Bytes8);
            quint32 pixel = 0;
            std::memcpy(&pixel, &narrow, 4);
            row[x] = pixel | 0xFF000000u;
        }
    }
    return out;
}
#else
QImage shrinkBilinear(const QImage &source, QSize to)
{
    return source.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
#endif

}  // namespace

ThemePreview readThemePreview(const QString &theme, QSize fit)
{
    ThemePreview preview;
    TodayMember today = readTodayMember(theme);
    if (today.data.isNull()) {
        preview.problem = today.problem;
        return preview;
    }
    QByteArray &data = today.data;
    if (isJpeg(data)) {
        const RgbPicture decoded = decodeJpeg(data, fit, PixelLayout::Bgrx);
        preview.stored = decoded.stored;
        if (decoded.pixels.empty()) {
            preview.problem = QStringLiteral("The Today picture cannot be read.");
            return preview;
        }
        const QImage image(decoded.pixels.data(), decoded.size.width(), decoded.size.height(),
                           decoded.size.width() * 4, QImage::Format_RGB32);
        // The shape is the stored picture's: the decoder's scale rounds.
        const QSize wanted =
            fit.isValid() &&
                    (decoded.stored.width() > fit.width() || decoded.stored.height() > fit.height())
                ? decoded.stored.scaled(fit, Qt::KeepAspectRatio).expandedTo({1, 1})
                : decoded.stored;
        // Each makes a picture of its own: `image` borrows the decoder's pixels.
        if (image.size() == wanted) {
            preview.image = newThumbnailImage(wanted);
            std::memcpy(preview.image.bits(), image.constBits(), size_t(image.sizeInBytes()));
        } else if (wanted.width() * 2 >= image.width() && wanted.height() * 2 >= image.height())
            preview.image = shrinkBilinear(image, wanted);
        else
            preview.image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return preview;
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    preview.stored = reader.size();
    if (!preview.stored.isValid() ||
        qint64(preview.stored.width()) * preview.stored.height() > MaxPixels) {
        preview.problem = QStringLiteral("The Today picture cannot be read.");
        return preview;
    }
    if (fit.isValid() &&
        (preview.stored.width() > fit.width() || preview.stored.height() > fit.height())) {
        reader.setScaledSize(preview.stored.scaled(fit, Qt::KeepAspectRatio).expandedTo({1, 1}));
    }
    QImage image;
    if (!reader.read(&image)) {
        preview.problem =
            QStringLiteral("The Today picture cannot be read: %1.").arg(reader.errorString());
        return preview;
    }
    preview.image = image.convertToFormat(QImage::Format_RGB32);
    return preview;
}

}  // namespace varno
