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

// Shrinks an RGB32 picture by a factor from 1/2 to 1, each pixel from the
// four around its centre. The decoder's own scaling leaves no more than
// that to do, and two taps a side cannot alias there; it costs a fraction
// of an area-averaging scale, which a browser does thousands of times.
QImage shrinkBilinear(const QImage &source, QSize to)
{
    QImage out(to, QImage::Format_RGB32);
    const int sw = source.width(), sh = source.height();
    // 16.16 fixed point: where each output pixel's centre falls.
    const auto taps = [](int from, int size, int i, int &first, quint32 &weight) {
        const qint64 centre = ((2 * qint64(i) + 1) * from << 16) / (2 * size) - (1 << 15);
        const qint64 at = std::clamp<qint64>(centre, 0, qint64(from - 1) << 16);
        first = int(at >> 16);
        weight = quint32(at & 0xFFFF);
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
            quint32 pixel = 0xFF000000u;
            for (const int shift : {0, 8, 16}) {
                const auto channel = [shift](QRgb c) { return (c >> shift) & 0xFF; };
                const quint64 upper =
                    quint64(channel(top[x0])) * (0x10000 - wx) + quint64(channel(top[x1])) * wx;
                const quint64 lower = quint64(channel(bottom[x0])) * (0x10000 - wx) +
                                      quint64(channel(bottom[x1])) * wx;
                const quint64 mixed = upper * (0x10000 - wy) + lower * wy;
                pixel |= quint32((mixed + (quint64(1) << 31)) >> 32) << shift;
            }
            row[x] = pixel;
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
