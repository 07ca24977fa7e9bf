#include "app/instancelock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace varno {

InstanceLock::InstanceLock(const QString &lockFile) : m_lock(std::make_unique<QLockFile>(lockFile))
{
    // Staleness by age would let a second editor in beside a long session;
    // a dead owner process is detected without it.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::tryLock()
{
    if (m_lock->isLocked())
        return Outcome::Taken;
    QDir().mkpath(QFileInfo(m_lock->fileName()).absolutePath());
    if (m_lock->tryLock(0))
        return Outcome::Taken;
    if (m_lock->error() == QLockFile::LockFailedError) {
        // The owner may have crashed on a machine whose process ids were
        // reused since; ask Qt to re-check once.
        if (m_lock->removeStaleLockFile() && m_lock->tryLock(0))
            return Outcome::Taken;
        if (m_lock->error() == QLockFile::LockFailedError)
            return Outcome::HeldByOther;
    }
    m_problem =
        QStringLiteral("cannot make the lock file %1 (%2)")
            .arg(QDir::toNativeSeparators(m_lock->fileName()),
                 m_lock->error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                               : QStringLiteral("unknown error"));
    return Outcome::Unavailable;
}

bool InstanceLock::isLocked() const
{
    return m_lock->isLocked();
}

void InstanceLock::unlock()
{
    if (m_lock->isLocked())
        m_lock->unlock();
}

}  // namespace varno
