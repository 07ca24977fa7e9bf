#include "package/themethumbnail.h"

#include "package/jpegdecode.h"
#include "package/todaymember.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <vector>

namespace varno {

namespace {

// Larger pictures than any device screen are refused before decoding, so a
// few hostile header bytes cannot cost gigabytes.
constexpr qint64 MaxPixels = 4096 * 4096;

// Two RGB32 pixels mixed by weights that add up to 256, rounded: red and
// blue share one word's arithmetic, green (with the unused byte) another.
inline quint32 mix(quint32 x, quint32 xWeight, quint32 y, quint32 yWeight)
{
    const quint32 redBlue =
        (((x & 0xFF00FFu) * xWeight + (y & 0xFF00FFu) * yWeight + 0x800080u) >> 8) & 0xFF00FFu;
    const quint32 green =
        (((x >> 8) & 0xFF00FFu) * xWeight + ((y >> 8) & 0xFF00FFu) * yWeight + 0x800080u) &
        0xFF00FF00u;
    return redBlue | green;
}

// Shrinks an RGB32 picture by a factor from 1/2 to 1, each pixel from the
// four around its centre. The decoder's own scaling leaves no more than
// that to do, and two taps a side cannot alias there; it costs a fraction
// of an area-averaging scale, which a browser does thousands of times.
QImage shrinkBilinear(const QImage &source, QSize to)
{
    QImage out(to, QImage::Format_RGB32);
    const int sw = source.width(), sh = source.height();
    // Where each output pixel's centre falls, in 1/256ths of a pixel.
    const auto taps = [](int from, int size, int i, int &first, quint32 &weight) {
        const qint64 centre = ((2 * qint64(i) + 1) * from << 8) / (2 * size) - (1 << 7);
        const qint64 at = std::clamp<qint64>(centre, 0, qint64(from - 1) << 8);
        first = int(at >> 8);
        weight = quint32(at & 0xFF);
    };
    std::vector<int> xs(size_t(to.width()));
    std::vector<quint32> xw(size_t(to.width()));
    for (int x = 0; x < to.width(); ++x)
        taps(sw, to.width(), x, xs[size_t(x)], xw[size_t(x)]);
    for (int y = 0; y < to.height(); ++y) {
        int y0 = 0;
        quint32 wy = 0;
        taps(sh, to.height(), y, y0, wy);
        const auto *top = reinterpret_cast<const QRgb *>(source.constScanLine(y0));
        const auto *bottom =
            reinterpret_cast<const QRgb *>(source.constScanLine(std::min(y0 + 1, sh - 1)));
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < to.width(); ++x) {
            const int x0 = xs[size_t(x)], x1 = std::min(x0 + 1, sw - 1);
            const quint32 wx = xw[size_t(x)];
            const quint32 upper = mix(top[x0], 256 - wx, top[x1], wx);
            const quint32 lower = mix(bottom[x0], 256 - wx, bottom[x1], wx);
            row[x] = mix(upper, 256 - wy, lower, wy) | 0xFF000000u;
        }
    }
    return out;
}

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
        if (image.size() == wanted)
            preview.image = image.copy();
        else if (wanted.width() * 2 >= image.width() && wanted.height() * 2 >= image.height())
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
