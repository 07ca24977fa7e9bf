#include "package/thumbnailcache.h"

#include "base/remakeablefile.h"
#include "package/pngencode.h"
#include "package/thumbnailmemory.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
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
    QByteArray png = f.readAll();
    const QHash<QByteArray, QByteArray> texts = pngTexts(png);
    if (texts.value("Thumb::URI") != uriOf(file) ||
        texts.value("Thumb::MTime") != mtimeOf(file).toLatin1())
        return {};
    // Kept by the browser like a thumbnail it made, so read into the same
    // memory; Qt's reader puts a picture of another kind elsewhere.
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    // A hostile header's size is left to the reader's own allocation limit.
    constexpr int LargestThumbnail = 1024;
    const QSize size = reader.size();
    QImage picture;
    if (size.width() <= LargestThumbnail && size.height() <= LargestThumbnail)
        picture = newThumbnailImage(size);
    if (!reader.read(&picture))
        return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

void ThumbnailCache::store(const QString &file, QSize fit, const QImage &picture) const
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QByteArray png = encodeThumbnailPng(rgb.constBits(), rgb.width(), rgb.height(),
                                              rgb.bytesPerLine(), PixelLayout::Bgrx,
                                              {{"Thumb::URI", uriOf(file)},
                                               {"Thumb::MTime", mtimeOf(file).toLatin1()},
                                               {"Software", "Varno"}});
    if (png.isEmpty())
        return;
    const QString path = pathFor(file, fit);
    const QString folder = QFileInfo(path).path();
    const auto forUserAlone = [&] {
        QFile::setPermissions(m_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    // Thumbnails show what the user's files hold: the folders are made
    // private once, not for every one of a folder's thousands.
    if (!m_foldersChecked.exchange(true))
        forUserAlone();
    constexpr int Private = 0600;
    if (writeRemakeableFile(path, png, Private).ok())
        return;
    if (QDir().mkpath(folder)) {
        forUserAlone();
        writeRemakeableFile(path, png, Private);
    }
}

}  // namespace varno
