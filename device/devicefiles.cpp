#include "device/devicefiles.h"

#include "base/regularfile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace varno {

int FoundEntries::start(std::vector<DeviceFindRecord> found, DeviceFindRecord &record, int &error)
{
    if (found.empty()) {
        error = DeviceError::FileNotFound;
        return -1;
    }
    error = DeviceError::None;
    record = found.front();
    const int handle = m_nextHandle++;
    m_left[handle] = std::deque<DeviceFindRecord>(found.begin() + 1, found.end());
    return handle;
}

int FoundEntries::next(int handle, DeviceFindRecord &record)
{
    const auto it = m_left.find(handle);
    if (it == m_left.end())
        return DeviceError::InvalidHandle;
    if (it->second.empty())
        return DeviceError::NoMoreFiles;
    record = it->second.front();
    it->second.pop_front();
    return DeviceError::None;
}

namespace {

// No theme comes near this; a larger "theme" is not one, and reading it
// whole into memory would only hurt.
constexpr qint64 kLargestTheme = 64 * 1024 * 1024;

bool keepGoing(const CopyProgress &progress, qint64 bytes)
{
    return !progress || progress(bytes);
}

}  // namespace

QString entryName(const DeviceFindRecord &record)
{
    QString name;
    for (const char16_t unit : record.name) {
        if (unit == 0)
            break;
        if (unit <= 255)
            name += QChar(unit);
    }
    return name.trimmed();
}

bool matchesPattern(const QString &name, const QString &pattern)
{
    // Greedy walk with one back-up point, the last star seen.
    qsizetype n = 0, p = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            resume = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') ||
                    QStringView(pattern).mid(p, 1).compare(QStringView(name).mid(n, 1),
                                                           Qt::CaseInsensitive) == 0)) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

int findFirstRetrying(DeviceFiles &device, const QString &pattern, DeviceFindRecord &record)
{
    // A device that has just connected sometimes answers the first finds
    // with nothing; ten tries cover that.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int handle = device.findFirst(pattern, record);
        if (handle > 0)
            return handle;
    }
    return -1;
}

CopyOutcome fetchFile(DeviceFiles &device, const QString &devicePath, const QString &localPath,
                      const CopyProgress &progress)
{
    const int handle = device.openFile(devicePath, DeviceAccess::Read, false);
    if (handle <= 0)
        return {CopyOutcome::DeviceOpenFailed, device.lastError(), {}};
    // The bytes go beside the target and take its name only when all came:
    // a cancelled or failed fetch leaves the PC as it was.
    QSaveFile local(localPath);
    if (!local.open(QIODevice::WriteOnly)) {
        device.closeFile(handle);
        return {CopyOutcome::LocalOpenFailed, 0, local.errorString()};
    }
    CopyOutcome outcome;
    char block[kDeviceBlock];
    qint64 total = 0;
    for (;;) {
        const qint64 got = device.readFile(handle, block, kDeviceBlock);
        if (got < 0) {
            outcome = {CopyOutcome::DeviceReadFailed, device.lastError(), {}};
            break;
        }
        if (got == 0)
            break;
        if (local.write(block, got) != got) {
            outcome = {CopyOutcome::LocalOpenFailed, 0, local.errorString()};
            break;
        }
        total += got;
        if (!keepGoing(progress, total)) {
            outcome.result = CopyOutcome::Cancelled;
            break;
        }
    }
    device.closeFile(handle);
    if (outcome.result != CopyOutcome::Done)
        local.cancelWriting();
    else if (!local.commit())
        outcome = {CopyOutcome::LocalOpenFailed, 0, local.errorString()};
    return outcome;
}

CopyOutcome sendFile(DeviceFiles &device, const QString &localPath, const QString &devicePath,
                     const CopyProgress &progress)
{
    const FileContents contents = readRegularFile(localPath, kLargestTheme);
    if (contents.problem != FileProblem::None) {
        static const char *const why[] = {"",
                                          "the file is missing",
                                          "it is a folder",
                                          "it is not a regular file",
                                          "it is too large",
                                          "the file cannot be read"};
        return {CopyOutcome::LocalReadFailed, 0,
                contents.reason.isEmpty() ? QString::fromLatin1(why[int(contents.problem)])
                                          : contents.reason};
    }
    const int handle = device.openFile(devicePath, DeviceAccess::Write, true);
    if (handle <= 0)
        return {CopyOutcome::DeviceOpenFailed, device.lastError(), {}};
    const QByteArray &data = contents.data;
    CopyOutcome outcome;
    for (qint64 at = 0; at < data.size(); at += kDeviceBlock) {
        const qint64 size = std::min(kDeviceBlock, data.size() - at);
        if (!device.writeFile(handle, data.constData() + at, size)) {
            outcome = {CopyOutcome::DeviceWriteFailed, device.lastError(), {}};
            break;
        }
        if (!keepGoing(progress, at + size)) {
            outcome.result = CopyOutcome::Cancelled;
            break;
        }
    }
    device.closeFile(handle);
    // Half a theme on the device would be listed and installed as a whole
    // one; the file was made by this copy, so it goes again.
    if (outcome.result != CopyOutcome::Done)
        device.deleteFile(devicePath);
    return outcome;
}

// ---- The file control.

bool DeviceFiles::controlConnect()
{
    m_controlError = 0;
    if (startSession())
        return true;
    m_controlError = lastError();
    return false;
}

void DeviceFiles::controlDisconnect()
{
    closeControlFind();
    endSession();
}

void DeviceFiles::closeControlFind()
{
    if (m_controlFind > 0)
        findClose(m_controlFind);
    m_controlFind = -1;
}

bool DeviceFiles::controlFindFirst(const QString &pattern)
{
    closeControlFind();
    m_current = {};
    m_controlFind = findFirst(pattern, m_current);
    m_controlError = m_controlFind > 0 ? 0 : lastError();
    return m_controlFind > 0;
}

bool DeviceFiles::controlFindNext()
{
    if (m_controlFind <= 0)
        return false;
    if (findNext(m_controlFind, m_current))
        return true;
    closeControlFind();
    return false;
}

bool DeviceFiles::controlIsFolder() const
{
    return m_current.attributes == DeviceAttribute::Folder;
}

QString DeviceFiles::controlName() const
{
    return entryName(m_current);
}

bool DeviceFiles::copyToDevice(const QString &localPath, const QString &devicePath,
                               const CopyProgress &progress)
{
    m_controlError = 0;
    if (!m_overwrite && fileAttributes(devicePath) != DeviceAttribute::Invalid) {
        m_controlError = DeviceError::FileExists;
        return false;
    }
    const CopyOutcome outcome = sendFile(*this, localPath, devicePath, progress);
    if (outcome.result == CopyOutcome::LocalReadFailed)
        m_controlError = DeviceError::FileNotFound;
    else
        m_controlError = outcome.deviceError;
    return outcome.result == CopyOutcome::Done;
}

bool DeviceFiles::copyFromDevice(const QString &devicePath, const QString &localPath,
                                 const CopyProgress &progress)
{
    m_controlError = 0;
    if (!m_overwrite && QFileInfo::exists(localPath)) {
        m_controlError = DeviceError::FileExists;
        return false;
    }
    const CopyOutcome outcome = fetchFile(*this, devicePath, localPath, progress);
    if (outcome.result == CopyOutcome::LocalOpenFailed)
        m_controlError = DeviceError::PathNotFound;
    else
        m_controlError = outcome.deviceError;
    return outcome.result == CopyOutcome::Done;
}

bool DeviceFiles::controlDelete(const QString &path)
{
    const bool deleted = deleteFile(path);
    m_controlError = deleted ? 0 : lastError();
    return deleted;
}

QString DeviceFiles::errorText(int code)
{
    switch (code) {
    case DeviceError::None: return QStringLiteral("The operation completed successfully.");
    case DeviceError::FileNotFound:
        return QStringLiteral("The system cannot find the file specified.");
    case DeviceError::PathNotFound:
        return QStringLiteral("The system cannot find the path specified.");
    case DeviceError::AccessDenied: return QStringLiteral("Access is denied.");
    case DeviceError::InvalidHandle: return QStringLiteral("The handle is invalid.");
    case DeviceError::NoMoreFiles: return QStringLiteral("There are no more files.");
    case DeviceError::SharingViolation:
        return QStringLiteral(
            "The process cannot access the file because it is being used by another process.");
    case DeviceError::FileExists: return QStringLiteral("The file exists.");
    case DeviceError::InvalidParameter: return QStringLiteral("The parameter is incorrect.");
    case DeviceError::DiskFull: return QStringLiteral("There is not enough space on the disk.");
    default: return QStringLiteral("Unknown error %1.").arg(code);
    }
}

}  // namespace varno
