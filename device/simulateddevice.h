// A device that lives in memory, for tests and for trying the transfer
// window without hardware: a file tree, a chosen version, faults on
// demand, and a record of what it was asked.
#pragma once

#include "device/devicefiles.h"

#include <QByteArray>

#include <map>
#include <vector>

namespace varno {

class SimulatedDevice : public DeviceFiles {
public:
    // `versionText` "" makes a device whose version cannot be read.
    explicit SimulatedDevice(QString versionText = QStringLiteral("5.1.1702 "), int major = 5);

    // The tree. Paths are device paths; folders on the way must exist.
    void addFolder(const QString &path, quint32 attributes = DeviceAttribute::Folder);
    void addFile(const QString &path, const QByteArray &data);
    // The bytes of a file; nothing when there is none.
    std::optional<QByteArray> file(const QString &path) const;

    // Faults: the session refuses to start; the next open fails with
    // `error`; reads fail once `bytes` were read from a file; writes fail
    // with `error` once `bytes` were written to one.
    void setReachable(bool reachable) { m_reachable = reachable; }
    void failNextOpen(int error) { m_openFault = error; }
    void failReadsAfter(qint64 bytes) { m_readLimit = bytes; }
    void failWritesAfter(qint64 bytes, int error)
    {
        m_writeLimit = bytes;
        m_writeFault = error;
    }

    // Every remote-file operation asked, and the size of each write.
    int calls = 0;
    std::vector<qint64> writes;

    bool startSession() override;
    void endSession() override;
    QString versionText() override;
    int majorVersion() override;
    int openFile(const QString &path, DeviceAccess access, bool create) override;
    qint64 readFile(int handle, char *data, qint64 size) override;
    bool writeFile(int handle, const char *data, qint64 size) override;
    void closeFile(int handle) override;
    quint32 fileAttributes(const QString &path) override;
    int findFirst(const QString &pattern, DeviceFindRecord &record) override;
    bool findNext(int handle, DeviceFindRecord &record) override;
    void findClose(int handle) override;
    bool deleteFile(const QString &path) override;
    int lastError() const override { return m_error; }

private:
    struct Entry {
        QString path;  // as added, without a trailing "\"
        quint32 attributes = DeviceAttribute::Archive;
        QByteArray data;
    };
    struct OpenFile {
        QString key;
        qint64 position = 0;
    };
    // Upper case, without a trailing "\": names ignore case on a device.
    static QString keyOf(const QString &path);
    static QString parentKey(const QString &key);
    bool isFolder(const QString &key) const;
    bool fail(int error);

    QString m_version;
    int m_major;
    bool m_reachable = true;
    int m_openFault = 0;
    qint64 m_readLimit = -1;
    qint64 m_writeLimit = -1;
    int m_writeFault = 0;
    int m_error = 0;
    int m_nextHandle = 1;
    std::map<QString, Entry> m_entries;
    std::map<int, OpenFile> m_open;
    FoundEntries m_finds;
};

}  // namespace varno
