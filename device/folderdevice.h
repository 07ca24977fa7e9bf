// A device reached as a folder on this machine: a storage card in a
// reader, a device in mass-storage mode, or a folder another tool keeps in
// step with one. Device paths map onto the folder, and nothing a device
// path, a name or a symbolic link says ever reaches outside it.
#pragma once

#include "device/devicefiles.h"

#include <QFile>

#include <map>
#include <memory>
#include <vector>

namespace varno {

class SettingsFile;

// The systems a device can run, which decide the transfer mechanism.
struct DeviceSystem {
    QString key;      // as stored and as the command line spells it
    QString caption;  // as the window offers it
    int major = 0;
    int minor = 0;
};
const std::vector<DeviceSystem> &deviceSystems();
// The system stored under `key`; the newest when the key is unknown.
const DeviceSystem &deviceSystem(const QString &key);

// The device folder and system the user chose last, kept in the settings.
struct DeviceChoice {
    QString folder;  // "" until one is chosen
    QString system;
};
DeviceChoice readDeviceChoice(const SettingsFile &settings);
void storeDeviceChoice(SettingsFile &settings, const DeviceChoice &choice);
// The remembered choice; when no folder was chosen yet, `chooseFolder` asks
// for one (and it is remembered). Nothing when the user cancels.
std::optional<DeviceChoice> deviceChoiceOrAsk(SettingsFile &settings,
                                              const std::function<QString()> &chooseFolder);

class FolderDevice : public DeviceFiles {
public:
    FolderDevice() = default;
    FolderDevice(const QString &folder, const QString &systemKey) { choose(folder, systemKey); }
    ~FolderDevice() override;

    // A new folder or system; open files and finds are closed.
    void choose(const QString &folder, const QString &systemKey);
    QString folder() const { return m_root; }

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
    // The local path of a device path, or nothing (with the error set) when
    // it is malformed or would lead outside the folder.
    std::optional<QString> localPath(const QString &devicePath);
    bool fail(int error);

    QString m_root;
    DeviceSystem m_system;
    int m_error = 0;
    int m_nextHandle = 1;
    std::map<int, std::unique_ptr<QFile>> m_files;
    FoundEntries m_finds;
};

}  // namespace varno
