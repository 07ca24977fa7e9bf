// The "Theme Transfer" window's logic: themes on the PC and on the device
// side by side, sent, fetched and deleted in either direction, and the
// theme being edited saved and sent in one step. The mechanism is chosen
// per connection from the device's major version: the remote-file layer
// for 0 and 5 up, the file control (with its folder caches) for 1 to 4.
// The window is a thin Qt dialog over this; copies run as CopyJobs, which
// the window runs off its thread.
#pragma once

#include "app/apppaths.h"
#include "base/prompt.h"
#include "device/devicefiles.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <map>

namespace varno {

// A list the user picks any number of entries of.
struct PickList {
    QStringList items;
    QList<bool> picked;

    void set(const QStringList &names)
    {
        items = names;
        picked = QList<bool>(names.size(), false);
    }
    // Picks the entries named (tests and the command line).
    void pick(const QStringList &names)
    {
        for (qsizetype i = 0; i < items.size(); ++i)
            picked[i] = names.contains(items[i]);
    }
    QList<int> pickedRows() const
    {
        QList<int> rows;
        for (qsizetype i = 0; i < picked.size(); ++i)
            if (picked[i])
                rows << int(i);
        return rows;
    }
};

// What "Send Current" needs of the editor.
struct CurrentTheme {
    std::function<QString()> name;
    std::function<void(const QString &)> setName;
    // Saves the theme with the "16MHigh" compression to the path; false
    // when it was not saved (the save has said why).
    std::function<bool(const QString &path)> saveHigh;
};

// A batch of copies. run() may be called on another thread; meanwhile
// nothing else may use the device, and cancel() and the counters are the
// only members to touch from outside.
class CopyJob {
public:
    QString title;  // what the progress window says
    int total = 0;  // files
    std::atomic<int> finished{0};

    void run() { m_work(*this); }
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }
    // The copy routines' progress hook: stops them once cancelled.
    CopyProgress progress()
    {
        return [this](qint64) { return !m_cancelled; };
    }

private:
    friend class DeviceTransferForm;
    std::function<void(CopyJob &)> m_work;
    std::atomic<bool> m_cancelled{false};
};

// The six buttons' captions, by their index.
const QStringList &transferButtonCaptions();
namespace TransferButton {
constexpr int Fetch = 0, DeleteOnDevice = 1, Send = 2, DeleteOnPc = 3, Exit = 4, SendCurrent = 5;
}

class DeviceTransferForm {
public:
    DeviceTransferForm(Prompt &prompt, DeviceFiles &device, const AppPaths &paths,
                       QString themesFolder, CurrentTheme current = {});

    // The PC side starts on the themes folder.
    void load();
    // The window became active: true when the connection should be made
    // (once, after a short delay, so the window is up first).
    bool activate();
    void connectDevice();
    void showLocalFolder(const QString &folder);
    // A click in the device folder list, with the rows picked there.
    void openDeviceFolders(const QList<int> &rows);
    void listDeviceFolders();
    // Walks from the root to `path` ("\My Documents\") as clicks in the
    // folder list would; false, having said why, when a folder on the way
    // is missing or refused.
    bool enterDeviceFolder(const QString &path);
    void listDeviceThemes();
    void listLocalThemes();

    void fetchThemes();
    void deleteDeviceThemes();
    void sendThemes();
    // Sends the named files on the PC to the current device folder, as
    // "Send Theme(s) to PPC" sends picked ones.
    void sendThemeFiles(const QStringList &paths);
    void deleteLocalThemes();
    void sendCurrent();
    // The window closes: the connection ends.
    void close();

    // Runs a batch of copies and returns when it is over. The window runs
    // it on a worker thread with a progress window; by default it runs here.
    std::function<void(CopyJob &)> runCopies = [](CopyJob &job) { job.run(); };
    // Moves a file to the desktop's trash; false when there is none.
    std::function<bool(const QString &path)> moveToTrash;

    // What the window shows.
    QString localFolder;
    PickList localThemes;
    QString deviceFolder = QStringLiteral("\\");  // starts and ends with "\"
    QString deviceCaption;
    PickList deviceFolders;
    PickList deviceThemes;
    bool transfersEnabled = true;  // buttons 0 to 3
    bool remoteMode = false;       // the remote-file layer, not the control

private:
    struct SendStep {
        QString local, device;
        int row = -1;  // in localThemes, or -1
    };
    void sendSteps(const std::vector<SendStep> &steps);
    void sendFiles(const std::vector<SendStep> &steps);
    void listFoldersRemote();
    void listFoldersControl();
    QString localPathFor(const QString &name);
    bool connectionFailed();

    Prompt &m_prompt;
    DeviceFiles &m_device;
    AppPaths m_paths;
    QString m_themesFolder;
    CurrentTheme m_current;
    bool m_connectStarted = false;
    bool m_connected = false;
    // The control's folder listings, by upper-case pattern.
    std::map<QString, QStringList> m_folderCache;
};

}  // namespace varno
