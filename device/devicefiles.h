// The files of a handheld device, as the transfer window and the device
// command see them. One interface carries both ways of reaching them: the
// remote-file layer (handles, find records, 2048-byte blocks) used for
// Windows Mobile 5 and later, and the file control (whole-file copies, a
// "current entry" walk) used for older Pocket PCs. Backends supply the
// remote-file operations; the control is built on top of them here.
//
// Device paths are Windows paths on the device: "\" separated, rooted at
// "\", case-insensitive ("\My Documents\Blue.tsk").
#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varno {

// The device's error numbers (the Windows codes, which the messages name).
namespace DeviceError {
constexpr int None = 0;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int InvalidHandle = 6;
constexpr int NoMoreFiles = 18;
constexpr int SharingViolation = 32;
constexpr int FileExists = 80;
constexpr int InvalidParameter = 87;
constexpr int DiskFull = 112;
}  // namespace DeviceError

namespace DeviceAttribute {
constexpr quint32 Folder = 16;
constexpr quint32 Archive = 32;
constexpr quint32 Temporary = 256;
constexpr quint32 Invalid = 0xFFFFFFFF;
}  // namespace DeviceAttribute

// What a find step reports about one entry. The name is the device's raw
// UTF-16 text, which may hold anything; entryName() makes it listable.
struct DeviceFindRecord {
    quint32 attributes = 0;
    qint64 size = 0;
    std::u16string name;
};

// The listed name of an entry: cut at the first NUL, each code unit from 1
// to 255 taken as one character and all others dropped, then trimmed. A
// name beyond Latin-1 therefore loses characters.
QString entryName(const DeviceFindRecord &record);

// A folder as the remote-file layer counts one: a plain folder (16) or a
// storage card, which reports itself as folder and temporary (272).
inline bool isFolderAttributes(quint32 attributes)
{
    return attributes == DeviceAttribute::Folder ||
           attributes == (DeviceAttribute::Folder | DeviceAttribute::Temporary);
}

// What the finds of a backend found and have not yet handed out, by handle.
class FoundEntries {
public:
    // Hands out the first of `found` and keeps the rest under a new handle.
    // With nothing found: -1, and `error` says so.
    int start(std::vector<DeviceFindRecord> found, DeviceFindRecord &record, int &error);
    // The next entry of a find; the error when there is none (0 when given).
    int next(int handle, DeviceFindRecord &record);
    void close(int handle) { m_left.erase(handle); }
    void clear() { m_left.clear(); }

private:
    std::map<int, std::deque<DeviceFindRecord>> m_left;
    int m_nextHandle = 1;
};

// Whether `name` matches the last part of a find pattern: * any run of
// characters, ? any one, letters in either case.
bool matchesPattern(const QString &name, const QString &pattern);

enum class DeviceAccess { Read = 1, Write = 2, ReadWrite = 3 };

// Bytes moved so far in one copy; returning false stops the copy.
using CopyProgress = std::function<bool(qint64 bytes)>;

// Remote-file layer copies in blocks of this many bytes.
constexpr qint64 kDeviceBlock = 2048;

class DeviceFiles {
public:
    virtual ~DeviceFiles() = default;

    // ---- Remote-file layer: what a backend supplies. Every call sets
    // lastError(). Handles are positive; -1 is the invalid handle.
    virtual bool startSession() = 0;
    virtual void endSession() = 0;
    // "major.minor.build service"; "" when the version cannot be read.
    virtual QString versionText() = 0;
    // 0 when the version cannot be read.
    virtual int majorVersion() = 0;
    // `create`: make a new file, or when one exists empty it. Without it
    // the file must exist.
    virtual int openFile(const QString &path, DeviceAccess access, bool create) = 0;
    // Bytes read (0 at the end), or -1 when the read failed.
    virtual qint64 readFile(int handle, char *data, qint64 size) = 0;
    virtual bool writeFile(int handle, const char *data, qint64 size) = 0;
    virtual void closeFile(int handle) = 0;
    // DeviceAttribute::Invalid when there is no such entry.
    virtual quint32 fileAttributes(const QString &path) = 0;
    // `pattern` is a path whose last part may hold * and ?.
    virtual int findFirst(const QString &pattern, DeviceFindRecord &record) = 0;
    virtual bool findNext(int handle, DeviceFindRecord &record) = 0;
    virtual void findClose(int handle) = 0;
    virtual bool deleteFile(const QString &path) = 0;
    virtual int lastError() const = 0;

    // ---- The file control, over the layer above.
    bool controlConnect();
    void controlDisconnect();
    // True when an entry was found; it becomes the current entry.
    bool controlFindFirst(const QString &pattern);
    bool controlFindNext();
    // The control's folder test: attribute 16 alone (a storage card's 272
    // does not pass, which is why the window probes for cards by name).
    bool controlIsFolder() const;
    QString controlName() const;
    // Whole-file copies; false with controlLastError() set on failure. A
    // copy to the device that fails part-way removes what it wrote.
    bool copyToDevice(const QString &localPath, const QString &devicePath,
                      const CopyProgress &progress = {});
    bool copyFromDevice(const QString &devicePath, const QString &localPath,
                        const CopyProgress &progress = {});
    bool controlDelete(const QString &path);
    // The option the window clears before every copy: whether a copy may
    // replace a file that is already there.
    void setOverwrite(bool overwrite) { m_overwrite = overwrite; }
    int controlLastError() const { return m_controlError; }
    // The control's words for an error number.
    static QString errorText(int code);

private:
    void closeControlFind();

    int m_controlFind = -1;
    DeviceFindRecord m_current;
    bool m_overwrite = false;
    int m_controlError = 0;
};

// ---- The remote-file layer's two copies, which the window and the
// device command both run.

struct CopyOutcome {
    enum Result {
        Done,
        Cancelled,
        DeviceOpenFailed,   // the device file could not be opened (deviceError says why)
        DeviceWriteFailed,  // part-way; what was written is removed again
        DeviceReadFailed,   // part-way; nothing is left on the PC
        LocalOpenFailed,    // the PC file could not be made
        LocalReadFailed,    // the theme on the PC could not be read (problem says why)
    } result = Done;
    int deviceError = 0;
    QString problem;
};

// Reads the device file in blocks into `localPath`. The bytes go to a file
// beside it that takes its name only when complete.
CopyOutcome fetchFile(DeviceFiles &device, const QString &devicePath, const QString &localPath,
                      const CopyProgress &progress = {});
// Writes the local file to the device in blocks of kDeviceBlock, the last
// carrying the rest.
CopyOutcome sendFile(DeviceFiles &device, const QString &localPath, const QString &devicePath,
                     const CopyProgress &progress = {});

// Find-first tried up to ten times until it gives a handle; -1 when all fail.
int findFirstRetrying(DeviceFiles &device, const QString &pattern, DeviceFindRecord &record);

}  // namespace varno
