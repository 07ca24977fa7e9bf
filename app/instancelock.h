// One editor at a time per settings folder. A lock left by a crashed run is
// recognised (its process is gone) and taken over.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace varno {

class InstanceLock {
public:
    explicit InstanceLock(const QString &lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    enum class Outcome {
        Taken,        // this run holds the lock (or already held it)
        HeldByOther,  // a live editor holds it
        Unavailable,  // the lock file cannot be made; see problem()
    };
    Outcome tryLock();
    QString problem() const { return m_problem; }
    bool isLocked() const;
    void unlock();

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_problem;
};

}  // namespace varno
