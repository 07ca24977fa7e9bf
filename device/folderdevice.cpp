#include "device/folderdevice.h"

#include "app/appsettings.h"
#include "app/settingsfile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace varno {

namespace {

const QString FolderKey = QStringLiteral("DeviceFolder");
const QString SystemKey = QStringLiteral("DeviceSystem");

// Characters a device name cannot hold; * and ? only in a find pattern.
bool isValidName(const QString &name, bool pattern)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"<>:\"/\\|").contains(c))
            return false;
        if (!pattern && (c == QLatin1Char('*') || c == QLatin1Char('?')))
            return false;
    }
    return true;
}

bool isInside(const QString &canonical, const QString &root)
{
    return !canonical.isEmpty() &&
           (canonical == root || canonical.startsWith(root + QLatin1Char('/')));
}

// The entry of `folder` that `name` means: a device's names ignore case,
// this machine's usually do not.
QString actualName(const QString &folder, const QString &name)
{
    const QFileInfo exact(folder + QLatin1Char('/') + name);
    if (exact.exists() || exact.isSymLink())
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

DeviceFindRecord recordOf(const QFileInfo &info)
{
    DeviceFindRecord r;
    r.attributes = info.isDir() ? DeviceAttribute::Folder : DeviceAttribute::Archive;
    r.size = info.isDir() ? 0 : info.size();
    r.name = info.fileName().toStdU16String();
    return r;
}

}  // namespace

const std::vector<DeviceSystem> &deviceSystems()
{
    static const std::vector<DeviceSystem> systems = {
        {QStringLiteral("ppc2003"), QStringLiteral("Pocket PC 2002/2003"), 4, 20},
        {QStringLiteral("wm5"), QStringLiteral("Windows Mobile 5"), 5, 1},
    };
    return systems;
}

const DeviceSystem &deviceSystem(const QString &key)
{
    for (const DeviceSystem &s : deviceSystems())
        if (s.key.compare(key, Qt::CaseInsensitive) == 0)
            return s;
    return deviceSystems().back();
}

DeviceChoice readDeviceChoice(const SettingsFile &settings)
{
    return {settings.readString(settingsSectionName(), FolderKey),
            deviceSystem(settings.readString(settingsSectionName(), SystemKey)).key};
}

void storeDeviceChoice(SettingsFile &settings, const DeviceChoice &choice)
{
    SettingsFile::Batch batch(settings);
    settings.writeString(settingsSectionName(), FolderKey, choice.folder);
    settings.writeString(settingsSectionName(), SystemKey, deviceSystem(choice.system).key);
}

std::optional<DeviceChoice> deviceChoiceOrAsk(SettingsFile &settings,
                                              const std::function<QString()> &chooseFolder)
{
    DeviceChoice choice = readDeviceChoice(settings);
    if (!choice.folder.isEmpty())
        return choice;
    choice.folder = chooseFolder();
    if (choice.folder.isEmpty())
        return std::nullopt;
    storeDeviceChoice(settings, choice);
    return choice;
}

FolderDevice::~FolderDevice() = default;

void FolderDevice::choose(const QString &folder, const QString &systemKey)
{
    endSession();
    m_root = folder;
    m_system = deviceSystem(systemKey);
}

bool FolderDevice::fail(int error)
{
    m_error = error;
    return false;
}

bool FolderDevice::startSession()
{
    m_error = 0;
    return !m_root.isEmpty() && QFileInfo(m_root).isDir() ? true : fail(DeviceError::PathNotFound);
}

void FolderDevice::endSession()
{
    m_files.clear();
    m_finds.clear();
}

QString FolderDevice::versionText()
{
    if (!QFileInfo(m_root).isDir())
        return QString();
    return QStringLiteral("%1.%2.0 %3")
        .arg(m_system.major)
        .arg(m_system.minor)
        .arg(m_system.caption);
}

int FolderDevice::majorVersion()
{
    return QFileInfo(m_root).isDir() ? m_system.major : 0;
}

std::optional<QString> FolderDevice::localPath(const QString &devicePath)
{
    const QString root = m_root.isEmpty() ? QString() : QFileInfo(m_root).canonicalFilePath();
    if (root.isEmpty())
        return fail(DeviceError::PathNotFound), std::nullopt;
    if (!devicePath.startsWith(QLatin1Char('\\')))
        return fail(DeviceError::InvalidParameter), std::nullopt;
    QString local = root;
    for (const QString &part : devicePath.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (!isValidName(part, false))
            return fail(DeviceError::InvalidParameter), std::nullopt;
        local += QLatin1Char('/') + actualName(local, part);
        // Every link on the way is followed and must land inside, so no
        // later part can lead out through it.
        const QFileInfo info(local);
        if (info.isSymLink() && !isInside(info.canonicalFilePath(), root))
            return fail(DeviceError::AccessDenied), std::nullopt;
    }
    return local;
}

int FolderDevice::openFile(const QString &path, DeviceAccess access, bool create)
{
    const std::optional<QString> local = localPath(path);
    if (!local)
        return -1;
    const QFileInfo info(*local);
    if (info.isDir())
        return fail(DeviceError::AccessDenied), -1;
    if (!info.exists() && !create)
        return fail(QFileInfo(info.path()).isDir() ? DeviceError::FileNotFound
                                                   : DeviceError::PathNotFound),
               -1;
    QIODevice::OpenMode mode = QIODevice::Unbuffered;
    if (access != DeviceAccess::Write)
        mode |= QIODevice::ReadOnly;
    if (access != DeviceAccess::Read)
        mode |= QIODevice::WriteOnly;
    // Make a new file; when one is there, empty it. A new file is made
    // exclusively, so a link slipped in meanwhile is not followed.
    if (create)
        mode |= info.exists() ? QIODevice::Truncate : QIODevice::NewOnly;
    auto file = std::make_unique<QFile>(*local);
    if (!file->open(mode)) {
        const bool noFolder = !QFileInfo(info.path()).isDir();
        return fail(noFolder ? DeviceError::PathNotFound : DeviceError::AccessDenied), -1;
    }
    m_error = 0;
    const int handle = m_nextHandle++;
    m_files[handle] = std::move(file);
    return handle;
}

qint64 FolderDevice::readFile(int handle, char *data, qint64 size)
{
    const auto it = m_files.find(handle);
    if (it == m_files.end())
        return fail(DeviceError::InvalidHandle), -1;
    const qint64 got = it->second->read(data, size);
    m_error = got < 0 ? DeviceError::AccessDenied : 0;
    return got;
}

bool FolderDevice::writeFile(int handle, const char *data, qint64 size)
{
    const auto it = m_files.find(handle);
    if (it == m_files.end())
        return fail(DeviceError::InvalidHandle);
    errno = 0;
    if (it->second->write(data, size) == size)
        return m_error = 0, true;
    return fail(errno == ENOSPC ? DeviceError::DiskFull : DeviceError::AccessDenied);
}

void FolderDevice::closeFile(int handle)
{
    m_files.erase(handle);
}

quint32 FolderDevice::fileAttributes(const QString &path)
{
    const std::optional<QString> local = localPath(path);
    if (!local)
        return DeviceAttribute::Invalid;
    const QFileInfo info(*local);
    if (!info.exists())
        return fail(DeviceError::FileNotFound), DeviceAttribute::Invalid;
    m_error = 0;
    return recordOf(info).attributes;
}

int FolderDevice::findFirst(const QString &pattern, DeviceFindRecord &record)
{
    const qsizetype cut = pattern.lastIndexOf(QLatin1Char('\\'));
    const QString last = pattern.mid(cut + 1);
    if (cut < 0 || !isValidName(last, true))
        return fail(DeviceError::InvalidParameter), -1;
    const std::optional<QString> folder = localPath(pattern.left(cut + 1));
    if (!folder)
        return -1;
    if (!QFileInfo(*folder).isDir())
        return fail(DeviceError::PathNotFound), -1;
    const QString root = QFileInfo(m_root).canonicalFilePath();
    std::vector<DeviceFindRecord> found;
    const QFileInfoList entries = QDir(*folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        // A link that leads out is not the device's, and is not shown.
        if (entry.isSymLink() && !isInside(entry.canonicalFilePath(), root))
            continue;
        if (matchesPattern(entry.fileName(), last))
            found.push_back(recordOf(entry));
    }
    return m_finds.start(std::move(found), record, m_error);
}

bool FolderDevice::findNext(int handle, DeviceFindRecord &record)
{
    m_error = m_finds.next(handle, record);
    return m_error == DeviceError::None;
}

void FolderDevice::findClose(int handle)
{
    m_finds.close(handle);
}

bool FolderDevice::deleteFile(const QString &path)
{
    const std::optional<QString> local = localPath(path);
    if (!local)
        return false;
    const QFileInfo info(*local);
    if (!info.exists() && !info.isSymLink())
        return fail(DeviceError::FileNotFound);
    if (info.isDir() || !QFile::remove(*local))
        return fail(DeviceError::AccessDenied);
    m_error = 0;
    return true;
}

}  // namespace varno
