#include "package/themebrowsermodel.h"

#include <QDir>
#include <QPointer>
#include <QRunnable>

#include <limits>

namespace varno {

namespace {

// Thumbnails made and waiting to be kept in the desktop's cache.
constexpr int MaxStoresWaiting = 64;

}  // namespace

ThemeBrowserModel::ThemeBrowserModel(QObject *parent)
    : QAbstractListModel(parent), m_generation(std::make_shared<std::atomic<quint64>>(0))
{
    setCacheLimit(1000);
    m_takeTimer.setSingleShot(true);
    connect(&m_takeTimer, &QTimer::timeout, this, &ThemeBrowserModel::takeMade);
}

ThemeBrowserModel::~ThemeBrowserModel()
{
    // Nothing may call back into a model that is gone.
    ++*m_generation;
    m_pool.clear();
    m_pool.waitForDone();
}

void ThemeBrowserModel::setFolder(const QString &folder)
{
    ++*m_generation;
    m_pool.clear();
    // What the old folder's work still hands in goes where no one looks.
    m_outbox = std::make_shared<Outbox>();
    beginResetModel();
    m_folder = folder;
    // No folder is no themes (QDir would read "" as the working folder).
    m_files = folder.isEmpty() ? QStringList()
                               : QDir(folder).entryList({QStringLiteral("*.tsk")}, QDir::Files,
                                                        QDir::Name | QDir::IgnoreCase);
    m_cache.clear();
    m_pending.clear();
    m_problems.clear();
    m_counted.clear();
    m_made = 0;
    endResetModel();
}

void ThemeBrowserModel::setThumbnailSize(QSize size)
{
    m_size = size;
    m_placeholder = QImage();
    setFolder(m_folder);
}

void ThemeBrowserModel::useThumbnailCache(const QString &root)
{
    m_thumbnailCache = std::make_shared<const ThumbnailCache>(root);
}

void ThemeBrowserModel::setCacheLimit(int thumbnails)
{
    m_cache.setMaxCost(std::max(thumbnails, 1));
}

int ThemeBrowserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

QString ThemeBrowserModel::filePath(int row) const
{
    return row >= 0 && row < m_files.size() ? QDir(m_folder).filePath(m_files[row]) : QString();
}

QVariant ThemeBrowserModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= m_files.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: return m_files[row].toLower();
    case Qt::ToolTipRole: return m_problems.value(row, m_files[row]);
    case FilePathRole: return filePath(row);
    case ProblemRole: return m_problems.value(row);
    case Qt::DecorationRole:
        if (const QImage *made = m_cache.object(row))
            return *made;
        if (!m_problems.contains(row))
            request(row);
        return placeholder();
    default: return {};
    }
}

QImage ThemeBrowserModel::placeholder() const
{
    if (m_placeholder.isNull()) {
        m_placeholder = QImage(m_size, QImage::Format_RGB32);
        m_placeholder.fill(QColor(200, 200, 200));
    }
    return m_placeholder;
}

void ThemeBrowserModel::request(int row) const
{
    if (m_pending.contains(row))
        return;
    m_pending.insert(row);
    const quint64 generation = *m_generation;
    auto current = m_generation;
    const QString path = filePath(row);
    const QSize size = m_size;
    auto *self = const_cast<ThemeBrowserModel *>(this);
    const std::shared_ptr<const ThumbnailCache> cache = m_thumbnailCache;
    const std::shared_ptr<Outbox> outbox = m_outbox;
    QThreadPool *pool = &m_pool;
    ++outbox->unfinished;
    // The latest asked first: what the user scrolled to is what they see.
    m_pool.start(
        [self, current, generation, row, path, size, cache, outbox, pool] {
            if (*current != generation)
                return;
            ThemePreview preview;
            if (cache)
                preview.image = cache->find(path, size);
            QImage toStore;
            if (preview.image.isNull()) {
                preview = readThemePreview(path, cache ? ThumbnailCache::madeSize(size) : size);
                if (cache)
                    toStore = preview.image;
            }
            if (preview.image.width() > size.width() || preview.image.height() > size.height())
                preview.image =
                    preview.image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            if (*current == generation) {
                bool first = false;
                {
                    const QMutexLocker lock(&outbox->mutex);
                    first = outbox->made.empty();
                    outbox->made.push_back({generation, row, preview});
                }
                // The last one asked for is taken at once: nothing more is
                // coming to wait for.
                if (--outbox->unfinished == 0)
                    QMetaObject::invokeMethod(self, &ThemeBrowserModel::takeMade,
                                              Qt::QueuedConnection);
                else if (first)
                    QMetaObject::invokeMethod(self, &ThemeBrowserModel::takeMadeSoon,
                                              Qt::QueuedConnection);
            }
            // Shown first, kept after every thumbnail still asked for; the
            // cache only saves work, so leaving the folder drops what waits.
            // Past a bound it is kept at once, so the queue never holds a
            // folder's worth of pictures.
            if (toStore.isNull())
                return;
            auto waiting = std::make_shared<StoreWaiting>(outbox);
            if (outbox->storesWaiting.load() <= MaxStoresWaiting)
                pool->start(
                    [cache, path, size, toStore, waiting] { cache->store(path, size, toStore); },
                    std::numeric_limits<int>::min());
            else
                cache->store(path, size, toStore);
        },
        ++m_requests);
}

void ThemeBrowserModel::waitUntilIdle()
{
    m_pool.waitForDone();
}

void ThemeBrowserModel::takeMadeSoon()
{
    // At most one taking a frame: the view shows no more often than that,
    // and every wake-up of this thread is time the workers lose.
    constexpr qint64 FrameMs = 16;
    const qint64 since = m_lastTaken.isValid() ? m_lastTaken.elapsed() : FrameMs;
    if (since >= FrameMs)
        takeMade();
    else if (!m_takeTimer.isActive())
        m_takeTimer.start(int(FrameMs - since));
}

void ThemeBrowserModel::takeMade()
{
    m_lastTaken.start();
    std::vector<Made> made;
    {
        const QMutexLocker lock(&m_outbox->mutex);
        made.swap(m_outbox->made);
    }
    const int before = m_made;
    for (const Made &m : made)
        deliver(m.generation, m.row, m.preview);
    if (m_made != before)
        emit progress(m_made, int(m_files.size()));
}

void ThemeBrowserModel::deliver(quint64 generation, int row, const ThemePreview &preview)
{
    if (generation != *m_generation || row >= m_files.size())
        return;
    m_pending.remove(row);
    if (preview.image.isNull())
        m_problems.insert(row, preview.problem);
    else
        m_cache.insert(row, new QImage(preview.image));
    if (!m_counted.contains(row)) {
        m_counted.insert(row);
        ++m_made;
    }
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DecorationRole, Qt::ToolTipRole});
}

}  // namespace varno
