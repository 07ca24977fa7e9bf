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

    // True when this run now holds the lock (or already held it).
    bool tryLock();
    bool isLocked() const;
    void unlock();

private:
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace varno
