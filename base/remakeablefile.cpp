#include "base/remakeablefile.h"

#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace varno {

bool writeRemakeableFile(const QString &path, const QByteArray &bytes,
                         QFileDevice::Permissions permissions)
{
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush() ||
        !temporary.setPermissions(permissions))
        return false;
    temporary.close();
    // std::filesystem replaces an existing file on every system; QFile will
    // not.
    std::error_code failed;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), failed);
    if (failed)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

}  // namespace varno
