// Reading a whole file that the user named, safely: only a regular file is
// opened for good (a FIFO or a device would block or never end), and no
// more than a stated limit is read.
#pragma once

#include <QByteArray>
#include <QString>

namespace varno {

enum class FileProblem { None, Missing, Folder, NotRegular, TooLarge, Unreadable };

struct FileContents {
    QByteArray data;
    FileProblem problem = FileProblem::None;
    QString reason;  // the system's words for Unreadable
};

// The bytes of `path` when it is a regular file of at most `limit` bytes.
FileContents readRegularFile(const QString &path, qint64 limit);

// True when `path` names a regular file (following symbolic links).
bool isRegularFile(const QString &path);

}  // namespace varno
