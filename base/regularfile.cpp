#include "base/regularfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varno {

bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

FileContents readRegularFile(const QString &path, qint64 limit)
{
    FileContents out;
    // Non-blocking, so that opening a FIFO returns at once; the type is
    // then checked on what was opened, not on the name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        out.problem = errno == ENOENT || errno == ENOTDIR ? FileProblem::Missing
                      : errno == EISDIR                   ? FileProblem::Folder
                                                          : FileProblem::Unreadable;
        out.reason = QString::fromLocal8Bit(std::strerror(errno));
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.problem = S_ISDIR(st.st_mode) ? FileProblem::Folder : FileProblem::NotRegular;
        ::close(fd);
        return out;
    }
    if (st.st_size > limit) {
        out.problem = FileProblem::TooLarge;
        ::close(fd);
        return out;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // The size can change while reading; never take more than the limit.
    out.data.resize(static_cast<qsizetype>(st.st_size));
    qint64 done = 0;
    char extra[4096];
    for (;;) {
        char *at = done < out.data.size() ? out.data.data() + done : extra;
        const size_t room = done < out.data.size() ? size_t(out.data.size() - done) : sizeof extra;
        const ssize_t n = ::read(fd, at, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.problem = FileProblem::Unreadable;
            out.reason = QString::fromLocal8Bit(std::strerror(errno));
            out.data.clear();
            break;
        }
        if (n == 0)
            break;
        if (at == extra) {
            if (done + n > limit) {
                out.problem = FileProblem::TooLarge;
                out.data.clear();
                break;
            }
            out.data.append(extra, n);
        }
        done += n;
    }
    ::close(fd);
    if (out.problem == FileProblem::None)
        out.data.truncate(static_cast<qsizetype>(done));
    return out;
}

}  // namespace varno
