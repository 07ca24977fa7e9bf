#include "package/themethumbnail.h"

#include "package/jpegdecode.h"
#include "package/todaymember.h"

#include <QBuffer>
#include <QImageReader>

namespace varno {

namespace {

// Larger pictures than any device screen are refused before decoding, so a
// few hostile header bytes cannot cost gigabytes.
constexpr qint64 MaxPixels = 4096 * 4096;

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
        // The decoder's scale leaves at most a halving, for Qt's smooth
        // scale (SIMD area averaging); each makes a picture of its own, as
        // `image` borrows the decoder's pixels.
        preview.image = image.size() == wanted
                            ? image.copy()
                            : image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
