// The modal "Theme Transfer" window: themes on the PC and on a device
// reached as a folder, side by side, with the six transfer buttons.
#pragma once

#include "app/settingsfile.h"
#include "device/devicetransferform.h"
#include "device/folderdevice.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace varno {

class DeviceTransferDialog : public QDialog {
    Q_OBJECT
public:
    DeviceTransferDialog(Prompt &prompt, SettingsFile &settings, const AppPaths &paths,
                         QString themesFolder, CurrentTheme current, QWidget *parent = nullptr);
    ~DeviceTransferDialog() override;

    DeviceTransferForm &form() { return *m_form; }

protected:
    bool event(QEvent *event) override;
    void done(int result) override;

private:
    // A new device folder or system: a fresh window state and connection.
    void useDevice(const DeviceChoice &choice);
    void chooseFolder();
    void showLocalFolderInTree();
    void runCopies(CopyJob &job);
    // Copies the user's picks into the model, runs `action`, shows the result.
    void act(const std::function<void()> &action);
    void showForm();

    Prompt &m_prompt;
    SettingsFile &m_settings;
    AppPaths m_paths;
    QString m_themesFolder;
    CurrentTheme m_current;
    FolderDevice m_device;
    std::unique_ptr<DeviceTransferForm> m_form;

    QFileSystemModel *m_folders = nullptr;
    QTreeView *m_localFolders = nullptr;
    QListWidget *m_localThemes = nullptr;
    QGroupBox *m_deviceFrame = nullptr;
    QLineEdit *m_deviceFolder = nullptr;
    QComboBox *m_system = nullptr;
    QListWidget *m_deviceFolders = nullptr;
    QListWidget *m_deviceThemes = nullptr;
    QList<QPushButton *> m_buttons;
};

// Shows the window, first asking for the device folder when none was
// chosen yet (nothing is shown when that is cancelled). `themesFolder` is
// where the PC side starts and where Send Current saves.
void showDeviceTransfer(QWidget *parent, Prompt &prompt, SettingsFile &settings,
                        const AppPaths &paths, const QString &themesFolder,
                        const CurrentTheme &current);

}  // namespace varno
