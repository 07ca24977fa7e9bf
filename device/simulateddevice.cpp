#include "device/simulateddevice.h"

namespace varno {

SimulatedDevice::SimulatedDevice(QString versionText, int major)
    : m_version(std::move(versionText)), m_major(major)
{
}

QString SimulatedDevice::keyOf(const QString &path)
{
    QString key = path.toUpper();
    while (key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    return key;
}

QString SimulatedDevice::parentKey(const QString &key)
{
    return key.left(std::max<qsizetype>(key.lastIndexOf(QLatin1Char('\\')), 0));
}

bool SimulatedDevice::isFolder(const QString &key) const
{
    if (key.isEmpty())
        return true;
    const auto it = m_entries.find(key);
    return it != m_entries.end() && (it->second.attributes & DeviceAttribute::Folder);
}

bool SimulatedDevice::fail(int error)
{
    m_error = error;
    return false;
}

void SimulatedDevice::addFolder(const QString &path, quint32 attributes)
{
    QString trimmed = path;
    while (trimmed.endsWith(QLatin1Char('\\')))
        trimmed.chop(1);
    m_entries[keyOf(path)] = {trimmed, attributes, {}};
}

void SimulatedDevice::addFile(const QString &path, const QByteArray &data)
{
    m_entries[keyOf(path)] = {path, DeviceAttribute::Archive, data};
}

std::optional<QByteArray> SimulatedDevice::file(const QString &path) const
{
    const auto it = m_entries.find(keyOf(path));
    if (it == m_entries.end() || (it->second.attributes & DeviceAttribute::Folder))
        return std::nullopt;
    return it->second.data;
}

bool SimulatedDevice::startSession()
{
    ++calls;
    m_error = 0;
    return m_reachable;
}

void SimulatedDevice::endSession()
{
    ++calls;
    m_open.clear();
    m_finds.clear();
}

QString SimulatedDevice::versionText()
{
    ++calls;
    return m_reachable ? m_version : QString();
}

int SimulatedDevice::majorVersion()
{
    ++calls;
    return m_reachable && !m_version.isEmpty() ? m_major : 0;
}

int SimulatedDevice::openFile(const QString &path, DeviceAccess access, bool create)
{
    (void)access;
    ++calls;
    if (const int fault = std::exchange(m_openFault, 0))
        return fail(fault), -1;
    const QString key = keyOf(path);
    if (!isFolder(parentKey(key)))
        return fail(DeviceError::PathNotFound), -1;
    const auto it = m_entries.find(key);
    if (it != m_entries.end() && (it->second.attributes & DeviceAttribute::Folder))
        return fail(DeviceError::AccessDenied), -1;
    if (it == m_entries.end() && !create)
        return fail(DeviceError::FileNotFound), -1;
    if (create)
        m_entries[key] = {path, DeviceAttribute::Archive, {}};
    m_error = 0;
    const int handle = m_nextHandle++;
    m_open[handle] = {key, 0};
    return handle;
}

qint64 SimulatedDevice::readFile(int handle, char *data, qint64 size)
{
    ++calls;
    const auto it = m_open.find(handle);
    if (it == m_open.end())
        return fail(DeviceError::InvalidHandle), -1;
    OpenFile &open = it->second;
    if (m_readLimit >= 0 && open.position >= m_readLimit)
        return fail(DeviceError::AccessDenied), -1;
    const QByteArray &bytes = m_entries[open.key].data;
    const qint64 got = std::clamp<qint64>(bytes.size() - open.position, 0, size);
    std::copy_n(bytes.constData() + open.position, got, data);
    open.position += got;
    m_error = 0;
    return got;
}

bool SimulatedDevice::writeFile(int handle, const char *data, qint64 size)
{
    ++calls;
    const auto it = m_open.find(handle);
    if (it == m_open.end())
        return fail(DeviceError::InvalidHandle);
    OpenFile &open = it->second;
    if (m_writeLimit >= 0 && open.position + size > m_writeLimit)
        return fail(m_writeFault);
    writes.push_back(size);
    m_entries[open.key].data.append(data, size);
    open.position += size;
    m_error = 0;
    return true;
}

void SimulatedDevice::closeFile(int handle)
{
    ++calls;
    m_open.erase(handle);
}

quint32 SimulatedDevice::fileAttributes(const QString &path)
{
    ++calls;
    const auto it = m_entries.find(keyOf(path));
    if (it == m_entries.end())
        return fail(DeviceError::FileNotFound), DeviceAttribute::Invalid;
    m_error = 0;
    return it->second.attributes;
}

int SimulatedDevice::findFirst(const QString &pattern, DeviceFindRecord &record)
{
    ++calls;
    const qsizetype cut = pattern.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0)
        return fail(DeviceError::InvalidParameter), -1;
    const QString folder = keyOf(pattern.left(cut));
    if (!isFolder(folder))
        return fail(DeviceError::PathNotFound), -1;
    std::vector<DeviceFindRecord> found;
    for (const auto &[key, entry] : m_entries) {
        if (key.isEmpty() || parentKey(key) != folder)
            continue;
        const QString name = entry.path.mid(entry.path.lastIndexOf(QLatin1Char('\\')) + 1);
        if (matchesPattern(name, pattern.mid(cut + 1)))
            found.push_back({entry.attributes, entry.data.size(), name.toStdU16String()});
    }
    return m_finds.start(std::move(found), record, m_error);
}

bool SimulatedDevice::findNext(int handle, DeviceFindRecord &record)
{
    ++calls;
    m_error = m_finds.next(handle, record);
    return m_error == DeviceError::None;
}

void SimulatedDevice::findClose(int handle)
{
    ++calls;
    m_finds.close(handle);
}

bool SimulatedDevice::deleteFile(const QString &path)
{
    ++calls;
    const auto it = m_entries.find(keyOf(path));
    if (it == m_entries.end())
        return fail(DeviceError::FileNotFound);
    if (it->second.attributes & DeviceAttribute::Folder)
        return fail(DeviceError::AccessDenied);
    m_entries.erase(it);
    m_error = 0;
    return true;
}

}  // namespace varno
