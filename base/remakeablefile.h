// Files that can always be made again (thumbnails, members extracted from a
// cabinet) written whole or not at all, without waiting for the disk: a
// temporary file beside the target is renamed over it. A crash may lose the
// newest of them, which is then simply made again; the user's own work is
// saved with QSaveFile instead.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace varno {

struct FileWrite {
    enum class Step { Done, Create, Write, Replace };
    Step failedAt = Step::Done;
    int error = 0;  // errno of the step that failed
    bool ok() const { return failedAt == Step::Done; }
};

// `mode`: the file's permission bits, or -1 for what a new file gets (0666
// less the umask). `modified`: a time to stamp it with, in seconds since the
// epoch.
FileWrite writeRemakeableFile(const QString &path, const QByteArray &bytes, int mode = -1,
                              std::optional<qint64> modified = std::nullopt);

}  // namespace varno
