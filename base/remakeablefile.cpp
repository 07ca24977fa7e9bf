#include "base/remakeablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace varno {

namespace {

// The umask, read without changing it (umask() would, for every thread).
mode_t creationMask()
{
    static const mode_t mask = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("Umask:"))
                    return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
        return mode_t(022);
    }();
    return mask;
}

}  // namespace

FileWrite writeRemakeableFile(const QString &path, const QByteArray &bytes, int mode,
                              std::optional<qint64> modified)
{
    using Step = FileWrite::Step;
    QTemporaryFile f(QFileInfo(path).absolutePath() + QStringLiteral("/.varno-XXXXXX"));
    errno = 0;
    if (!f.open())
        return {Step::Create, errno};
    errno = 0;
    if (f.write(bytes) != bytes.size() || !f.flush())
        return {Step::Write, errno};
    ::fchmod(f.handle(), mode >= 0 ? mode_t(mode) : 0666 & ~creationMask());
    if (modified) {
        const timespec times[2] = {{time_t(*modified), 0}, {time_t(*modified), 0}};
        ::futimens(f.handle(), times);
    }
    f.close();
    errno = 0;
    if (std::rename(QFile::encodeName(f.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return {Step::Replace, errno};
    f.setAutoRemove(false);
    return {};
}

}  // namespace varno
