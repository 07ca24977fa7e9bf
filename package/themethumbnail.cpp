#include "package/themethumbnail.h"

#include "base/runtimeerror.h"
#include "package/cabinetreader.h"

#include <QBuffer>
#include <QImageReader>

namespace varno {

namespace {

// Names of the Today picture, in the order they are looked for: a theme
// with one picture keeps it as the Start-menu member.
const char *const TodayMembers[] = {"tdywater.001", "0stwater.001"};

// Larger pictures than any device screen are refused before decoding, so a
// few hostile header bytes cannot cost gigabytes.
constexpr qint64 MaxPixels = 4096 * 4096;

bool isTodayMember(const QString &name)
{
    for (const char *member : TodayMembers)
        if (name.compare(QLatin1String(member), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

ThemePreview readThemePreview(const QString &theme, QSize fit)
{
    ThemePreview preview;
    QMap<QString, QByteArray> members;
    try {
        CabinetReader cab(theme);
        members = cab.read(isTodayMember);
        if (members.isEmpty() && !cab.extractFailures().isEmpty()) {
            const CabExtractFailure &f = cab.extractFailures().first();
            preview.problem =
                QStringLiteral("%1 cannot be read: %2").arg(f.fileName, f.description);
            return preview;
        }
    } catch (const RuntimeError &e) {
        preview.problem = e.description;
        return preview;
    }
    QByteArray data;
    for (const char *wanted : TodayMembers)
        for (auto it = members.cbegin(); it != members.cend() && data.isNull(); ++it)
            if (it.key().compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                data = it.value();
    if (data.isNull()) {
        preview.problem = QStringLiteral("The theme has no Today picture (tdywater.001).");
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
        (preview.stored.width() > fit.width() || preview.stored.height() > fit.height()))
        reader.setScaledSize(preview.stored.scaled(fit, Qt::KeepAspectRatio).expandedTo({1, 1}));
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
