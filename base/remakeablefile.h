// Files that can always be made again (thumbnails) written whole or not at
// all, without waiting for the disk: a temporary file beside the target is
// renamed over it. A crash may lose the newest of them, which is then
// simply made again; the user's own work is saved with QSaveFile instead.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace varno {

bool writeRemakeableFile(const QString &path, const QByteArray &bytes,
                         QFileDevice::Permissions permissions);

}  // namespace varno
