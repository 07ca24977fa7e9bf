#include "package/thumbnailcache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtEndian>

namespace varno {

namespace {

QByteArray uriOf(const QString &file)
{
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded();
}

QString mtimeOf(const QString &file)
{
    return QString::number(QFileInfo(file).lastModified().toSecsSinceEpoch());
}

// The tEXt chunks before the picture data. Qt's reader gives text keys
// split at their first colon, and every key here has two.
QHash<QByteArray, QByteArray> pngTexts(const QByteArray &png)
{
    QHash<QByteArray, QByteArray> texts;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (type == "IDAT" || length > quint32(png.size() - at - 12))
            break;
        if (type == "tEXt") {
            const QByteArray chunk = png.mid(at + 8, length);
            const qsizetype zero = chunk.indexOf('\0');
            if (zero > 0)
                texts.insert(chunk.left(zero), chunk.mid(zero + 1));
        }
        at += 12 + qsizetype(length);
    }
    return texts;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A tEXt chunk. Qt's writer would store longer texts compressed (zTXt),
// which simple readers of the cache do not expect.
QByteArray textChunk(const QByteArray &key, const QByteArray &value)
{
    const QByteArray body = "tEXt" + key + '\0' + value;
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(body.size() - 4), chunk.data());
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

}  // namespace

QString ThumbnailCache::desktopRoot()
{
    const QString home = qEnvironmentVariable("VARNO_HOME");
    if (!home.isEmpty())
        return home + QStringLiteral("/thumbnails");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QSize ThumbnailCache::madeSize(QSize fit)
{
    return fit.width() <= 128 && fit.height() <= 128 ? QSize(128, 128) : QSize(256, 256);
}

QString ThumbnailCache::pathFor(const QString &file, QSize fit) const
{
    const QString flavour =
        madeSize(fit).width() == 128 ? QStringLiteral("normal") : QStringLiteral("large");
    const QByteArray md5 = QCryptographicHash::hash(uriOf(file), QCryptographicHash::Md5).toHex();
    return m_root + u'/' + flavour + u'/' + QString::fromLatin1(md5) + QStringLiteral(".png");
}

QImage ThumbnailCache::find(const QString &file, QSize fit) const
{
    QFile f(pathFor(file, fit));
    // A thumbnail is a few KiB; anything far larger is not one of them.
    if (!f.open(QIODevice::ReadOnly) || f.size() > (4 << 20))
        return {};
    const QByteArray png = f.readAll();
    const QHash<QByteArray, QByteArray> texts = pngTexts(png);
    if (texts.value("Thumb::URI") != uriOf(file) ||
        texts.value("Thumb::MTime") != mtimeOf(file).toLatin1())
        return {};
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

void ThumbnailCache::store(const QString &file, QSize fit, const QImage &picture) const
{
    const QString path = pathFor(file, fit);
    const QString folder = QFileInfo(path).path();
    // Thumbnails show what the user's files hold: for the user alone.
    if (!QDir().mkpath(folder))
        return;
    QFile::setPermissions(m_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        // Quick compression: a folder's worth are written while the user
        // waits, and a thumbnail is small either way.
        QImageWriter writer(&buffer, "png");
        writer.setQuality(ThumbnailPngQuality);
        if (!writer.write(picture) || png.size() < 33)
            return;
    }
    // After the signature and the 25-byte header chunk.
    png.insert(33, textChunk("Thumb::URI", uriOf(file)) +
                       textChunk("Thumb::MTime", mtimeOf(file).toLatin1()) +
                       textChunk("Software", "Varno"));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (out.write(png) == png.size())
        out.commit();
}

}  // namespace varno
