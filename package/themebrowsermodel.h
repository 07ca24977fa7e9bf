// The theme browser's list: one item per theme file of a folder, shown at
// once, each with its Today picture made off the user-interface thread as
// the view asks for it. Thumbnails live in a bounded cache and are made
// again when they scroll back, so memory does not grow with the folder.
#pragma once

#include "package/themethumbnail.h"
#include "package/thumbnailcache.h"

#include <QAbstractListModel>
#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>
#include <vector>

namespace varno {

class ThemeBrowserModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { FilePathRole = Qt::UserRole + 1, ProblemRole };

    explicit ThemeBrowserModel(QObject *parent = nullptr);
    ~ThemeBrowserModel() override;

    // Lists the folder's "*.tsk" files, sorted by name, and drops every
    // thumbnail still to be made for the folder before.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    void setThumbnailSize(QSize size);
    // Thumbnails are looked for in, and added to, the desktop's cache.
    void useThumbnailCache(const QString &root);
    QSize thumbnailSize() const { return m_size; }
    // How many thumbnails are kept (at least one screenful is wanted, or
    // the view keeps asking for what it just dropped); older ones are made
    // again when asked for.
    void setCacheLimit(int thumbnails);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Display: the file name in lower case. Decoration: the thumbnail, or a
    // placeholder while it is made or when the theme cannot show one.
    // ToolTip: the file name, or why there is no picture.
    QVariant data(const QModelIndex &index, int role) const override;

    QString filePath(int row) const;
    // Thumbnails made for this folder so far.
    int madeCount() const { return m_made; }
    // Blocks until every thumbnail asked for is made and kept in the
    // desktop's cache. For tests and benchmarks: the window never waits.
    void waitUntilIdle();

signals:
    // A thumbnail was made (or found impossible): `made` of `total`.
    void progress(int made, int total);

private:
    // Thumbnails made and not yet taken in by the model's thread: one
    // queued call takes all that have gathered, not one call each.
    struct Made {
        quint64 generation;
        int row;
        ThemePreview preview;
    };
    struct Outbox {
        QMutex mutex;
        std::vector<Made> made;
        std::atomic<int> storesWaiting{0};
        std::atomic<int> unfinished{0};  // thumbnails asked for, not yet made
    };
    // Counts one store while it waits in the pool, however it leaves it:
    // run, or dropped with the folder.
    struct StoreWaiting {
        explicit StoreWaiting(std::shared_ptr<Outbox> box) : outbox(std::move(box))
        {
            ++outbox->storesWaiting;
        }
        ~StoreWaiting() { --outbox->storesWaiting; }
        StoreWaiting(const StoreWaiting &) = delete;
        StoreWaiting &operator=(const StoreWaiting &) = delete;
        std::shared_ptr<Outbox> outbox;
    };

    void request(int row) const;
    void takeMadeSoon();
    void takeMade();
    void deliver(quint64 generation, int row, const ThemePreview &preview);
    QImage placeholder() const;

    QString m_folder;
    QStringList m_files;
    QSize m_size{128, 118};  // a Today picture's shape
    std::shared_ptr<const ThumbnailCache> m_thumbnailCache;
    mutable QCache<int, QImage> m_cache;
    mutable QSet<int> m_pending;
    QHash<int, QString> m_problems;
    QSet<int> m_counted;
    int m_made = 0;
    mutable int m_requests = 0;
    mutable QImage m_placeholder;
    std::shared_ptr<std::atomic<quint64>> m_generation;
    std::shared_ptr<Outbox> m_outbox = std::make_shared<Outbox>();
    QElapsedTimer m_lastTaken;
    QTimer m_takeTimer;
    mutable QThreadPool m_pool;
};

}  // namespace varno
