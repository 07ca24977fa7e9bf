#include "package/themethumbnail.h"

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
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Themes hold JPEG or PNG; naming the one the first bytes show spares
    // the reader its guessing through every picture format.
    const QByteArray format = data.startsWith("\xFF\xD8\xFF")        ? QByteArray("jpeg")
                              : data.startsWith("\x89PNG\r\n\x1A\n") ? QByteArray("png")
                                                                     : QByteArray();
    QImageReader reader(&buffer, format);
    preview.stored = reader.size();
    if (!preview.stored.isValid() ||
        qint64(preview.stored.width()) * preview.stored.height() > MaxPixels) {
        preview.problem = QStringLiteral("The Today picture cannot be read.");
        return preview;
    }
    if (fit.isValid() &&
        (preview.stored.width() > fit.width() || preview.stored.height() > fit.height())) {
        reader.setScaledSize(preview.stored.scaled(fit, Qt::KeepAspectRatio).expandedTo({1, 1}));
        // Below Qt's "high quality" mark its JPEG reader scales in the
        // decoder (libjpeg's DCT scaling) instead of decoding every pixel
        // and scaling after.
        reader.setQuality(49);
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
