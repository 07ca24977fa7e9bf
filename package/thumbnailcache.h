// The desktop's shared thumbnail cache (the freedesktop layout): a PNG per
// file under "normal" (128 pixels) or "large" (256), named by the MD5 of the
// file's URI and stamped with the URI and the file's modification time. A
// folder the browser has shown opens at once the next time, and the file
// manager finds the same pictures.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace varno {

class ThumbnailCache {
public:
    // `root` holds the "normal" and "large" folders.
    explicit ThumbnailCache(QString root) : m_root(std::move(root)) {}
    // $XDG_CACHE_HOME/thumbnails; under VARNO_HOME when that is set, so
    // tests and scripts keep to their own folder.
    static QString desktopRoot();

    // The size a thumbnail is made at for a wanted `fit`: 128 or 256 square.
    static QSize madeSize(QSize fit);
    // The cached picture of `file` for `fit`, when it is as new as the file;
    // a null picture otherwise.
    QImage find(const QString &file, QSize fit) const;
    // Keeps `picture` (made at madeSize()) for `file`; failures are ignored:
    // the cache only saves work.
    void store(const QString &file, QSize fit, const QImage &picture) const;
    // Where the thumbnail of `file` for `fit` lives.
    QString pathFor(const QString &file, QSize fit) const;

private:
    QString m_root;
    mutable std::atomic<bool> m_foldersChecked{false};
};

}  // namespace varno
