#include "device/devicetransferform.h"

#include "base/messages.h"
#include "base/trap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varno {

namespace {

const QString BoxTitleWindow = QStringLiteral("frmFileManager");
const QString Root = QStringLiteral("\\");

// The folders whose control listings are kept for the session: the root,
// "My Documents" and the usual storage cards.
const QStringList &cachedPatterns()
{
    static const QStringList patterns = {
        QStringLiteral("\\*"),
        QStringLiteral("\\MY DOCUMENTS\\*"),
        QStringLiteral("\\STORAGE CARD\\*"),
        QStringLiteral("\\STORAGE CARD 2\\*"),
        QStringLiteral("\\STORAGE CARD\\MY DOCUMENTS\\*"),
        QStringLiteral("\\STORAGE CARD 2\\MY DOCUMENTS\\*"),
        QStringLiteral("\\SD CARD\\*"),
        QStringLiteral("\\SD CARD\\MY DOCUMENTS\\*"),
    };
    return patterns;
}

// The window's own error box: "<prefix><description><suffix>" under the
// maker's title.
bool trapIn(Prompt &prompt, const QString &prefix, const QString &suffix,
            const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (...) {
        const RuntimeError e = currentError();
        prompt.messageBox(prefix + e.description + suffix, MsgIcon::Critical,
                          stringResource(Str::Maker));
        return false;
    }
}

// "Error: <description> (<procedure>)".
bool trapNamed(Prompt &prompt, const QString &procedure, const std::function<void()> &body)
{
    return trapIn(prompt, QStringLiteral("Error: "), QStringLiteral(" (") + procedure + ')', body);
}

// A device's refusal to make a file, in the words the user is shown.
QString deviceOpenProblem(int error)
{
    switch (error) {
    case DeviceError::SharingViolation:
        return QStringLiteral("File access error. It is possible that Arcpad in your mobile "
                              "device is still running.\r\nPlease close the Arcpad in the mobile "
                              "device and try again.");
    case DeviceError::FileExists:
        return QStringLiteral("A file already exists with the specified name.");
    case DeviceError::InvalidParameter: return QStringLiteral("A parameter was invalid.");
    case DeviceError::DiskFull: return QStringLiteral("Disk if Full.");
    default: return QStringLiteral("An unknown error occured.");
    }
}

// A name from the device or the editor used as a file name here: it must
// stay a name, not a path.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

}  // namespace

const QStringList &transferButtonCaptions()
{
    static const QStringList captions = {QStringLiteral("Send Theme(s) to PC"),
                                         QStringLiteral("Delete Theme(s) on PPC"),
                                         QStringLiteral("Send Theme(s) to PPC"),
                                         QStringLiteral("Delete Theme(s) on PC"),
                                         QStringLiteral("Exit"),
                                         QStringLiteral("Send Current")};
    return captions;
}

DeviceTransferForm::DeviceTransferForm(Prompt &prompt, DeviceFiles &device, const AppPaths &paths,
                                       QString themesFolder, CurrentTheme current)
    : moveToTrash([](const QString &path) { return QFile::moveToTrash(path); }), m_prompt(prompt),
      m_device(device), m_paths(paths), m_themesFolder(std::move(themesFolder)),
      m_current(std::move(current))
{
}

void DeviceTransferForm::load()
{
    trapIn(m_prompt, QStringLiteral("Error in Load: "), QString(), [&] {
        if (m_themesFolder.isEmpty())
            m_themesFolder = m_paths.defaultFolder(QStringLiteral("tsk"));
        if (!m_themesFolder.endsWith(QLatin1Char('/')))
            m_themesFolder += QLatin1Char('/');
        showLocalFolder(m_themesFolder);
    });
}

bool DeviceTransferForm::activate()
{
    // One connection per opening: after a failure the buttons stay off
    // until the window is opened again, and a box of the window's own
    // bringing it back to the front is not a reason to start afresh.
    return !std::exchange(m_connectStarted, true);
}

bool DeviceTransferForm::connectionFailed()
{
    m_prompt.messageBox(QStringLiteral("Unable to connect to PPC!"), MsgIcon::Critical,
                        QStringLiteral("ERROR"));
    transfersEnabled = false;
    return false;
}

void DeviceTransferForm::connectDevice()
{
    m_connectStarted = true;
    trapIn(m_prompt, QStringLiteral("Error in FileManager Activate: "), QString(), [&] {
        BusyPointer busy(m_prompt);
        if (!m_device.startSession() || m_device.versionText().isEmpty()) {
            m_device.endSession();
            busy.release();
            connectionFailed();
            return;
        }
        const int major = m_device.majorVersion();
        remoteMode = major < 1 || major >= 5;
        if (!remoteMode && !m_device.controlConnect()) {
            busy.release();
            connectionFailed();
            return;
        }
        m_connected = true;
        deviceFolder = Root;
        deviceCaption = QStringLiteral("PPC Location: \\");
        listDeviceFolders();
    });
}

void DeviceTransferForm::showLocalFolder(const QString &folder)
{
    localFolder = folder;
    listLocalThemes();
}

void DeviceTransferForm::listLocalThemes()
{
    localThemes.set(
        QDir(localFolder)
            .entryList({QStringLiteral("*.tsk")}, QDir::Files | QDir::Hidden, QDir::Name));
}

void DeviceTransferForm::listDeviceFolders()
{
    if (remoteMode)
        listFoldersRemote();
    else
        listFoldersControl();
}

void DeviceTransferForm::listFoldersRemote()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("GetDirs2"), [&] {
        BusyPointer busy(m_prompt);
        QStringList names;
        if (deviceFolder != Root)
            names << QStringLiteral("..");
        deviceFolders.set(names);
        DeviceFindRecord record;
        const int handle = findFirstRetrying(m_device, deviceFolder + '*', record);
        if (handle <= 0) {
            m_device.endSession();
            return;
        }
        // The find record's own attributes are not trusted for folders; the
        // entry is asked again by its path.
        do {
            const QString name = entryName(record);
            if (isFolderAttributes(m_device.fileAttributes(deviceFolder + name)))
                names << name;
        } while (m_device.findNext(handle, record));
        m_device.findClose(handle);
        deviceFolders.set(names);
    });
}

void DeviceTransferForm::listFoldersControl()
{
    trapNamed(m_prompt, QStringLiteral("GetDirs"), [&] {
        BusyPointer busy(m_prompt);
        const QString pattern = deviceFolder + '*';
        const QString key = pattern.toUpper();
        const bool cached = cachedPatterns().contains(key);
        if (cached && !m_folderCache[key].isEmpty()) {
            deviceFolders.set(m_folderCache[key]);
            return;
        }
        QStringList names;
        if (pattern != QLatin1String("\\*"))
            names << QStringLiteral("..");
        for (bool more = m_device.controlFindFirst(pattern); more;
             more = m_device.controlFindNext())
            if (m_device.controlIsFolder())
                names << m_device.controlName();
        // Storage cards fail the control's folder test, so the root looks
        // for them by name.
        if (pattern == QLatin1String("\\*")) {
            for (const QString &probe :
                 {QStringLiteral("\\iPAQ File Store*"), QStringLiteral("\\Storage Card*")})
                for (bool more = m_device.controlFindFirst(probe); more;
                     more = m_device.controlFindNext())
                    if (!names.contains(m_device.controlName()))
                        names << m_device.controlName();
        }
        if (cached)
            m_folderCache[key] = names;
        m_device.controlDelete(deviceFolder + QStringLiteral("ktest.txt"));
        deviceFolders.set(names);
    });
}

void DeviceTransferForm::listDeviceThemes()
{
    trapNamed(m_prompt, QStringLiteral("Getfilenames"), [&] {
        BusyPointer busy(m_prompt);
        const QString pattern = deviceFolder + QStringLiteral("*.tsk");
        QStringList names;
        if (remoteMode) {
            DeviceFindRecord record;
            const int handle = findFirstRetrying(m_device, pattern, record);
            if (handle > 0) {
                do
                    names << entryName(record);
                while (m_device.findNext(handle, record));
                m_device.findClose(handle);
            }
        } else {
            for (bool more = m_device.controlFindFirst(pattern); more;
                 more = m_device.controlFindNext())
                names << m_device.controlName();
        }
        deviceThemes.set(names);
    });
}

void DeviceTransferForm::openDeviceFolders(const QList<int> &rows)
{
    trapNamed(m_prompt, QStringLiteral("lstPPCDir"), [&] {
        if (rows.isEmpty())
            return;
        for (const int row : rows) {
            const QString name = deviceFolders.items.value(row);
            if (name == QLatin1String("..")) {
                const QString up = deviceFolder.chopped(1);
                deviceFolder = up.left(up.lastIndexOf(QLatin1Char('\\')) + 1);
            } else if (name.compare(QLatin1String("Windows"), Qt::CaseInsensitive) == 0) {
                m_prompt.messageBox(
                    QStringLiteral("This directory should not be used for storage of "
                                   "Themes!\r\nIf you want to use this directory you will have "
                                   "to use some other means."),
                    MsgIcon::Exclamation, stringResource(Str::Maker));
                break;
            } else {
                deviceFolder += name + QLatin1Char('\\');
            }
            listDeviceThemes();
            if (row < deviceFolders.picked.size())
                deviceFolders.picked[row] = false;
            deviceCaption = QStringLiteral("PPC Location: ") + deviceFolder.chopped(1);
        }
        listDeviceFolders();
    });
}

void DeviceTransferForm::sendFiles(const std::vector<SendStep> &steps)
{
    struct Result {
        bool ran = false, exists = false, sent = false;
        CopyOutcome outcome;
        int controlError = 0;
    };
    std::vector<Result> results(steps.size());
    CopyJob job;
    job.title = QStringLiteral("Sending themes to the device");
    job.total = int(steps.size());
    job.m_work = [&](CopyJob &j) {
        for (size_t i = 0; i < steps.size() && !j.cancelled(); ++i) {
            Result &r = results[i];
            r.ran = true;
            if (remoteMode) {
                // Nothing on the device is replaced: a theme already there
                // is left as it is.
                DeviceFindRecord record;
                const int handle = findFirstRetrying(m_device, steps[i].device, record);
                r.exists = handle > 0;
                if (r.exists)
                    m_device.findClose(handle);
                else
                    r.outcome = sendFile(m_device, steps[i].local, steps[i].device, j.progress());
                if (r.outcome.result == CopyOutcome::LocalReadFailed)
                    break;
            } else {
                m_device.setOverwrite(false);
                r.sent = m_device.copyToDevice(steps[i].local, steps[i].device, j.progress());
                r.controlError = m_device.controlLastError();
                if (!r.sent)
                    break;
            }
            ++j.finished;
        }
    };
    runCopies(job);

    for (size_t i = 0; i < steps.size() && results[i].ran; ++i) {
        const Result &r = results[i];
        const bool stopped =
            remoteMode ? r.outcome.result == CopyOutcome::Cancelled : !r.sent && job.cancelled();
        if (stopped)
            break;
        if (!remoteMode && !r.sent) {
            m_prompt.messageBox(QStringLiteral("Error Sending Theme: ") +
                                    DeviceFiles::errorText(r.controlError),
                                MsgIcon::Critical, stringResource(Str::Maker));
            break;
        }
        if (r.exists)
            m_prompt.messageBox(steps[i].device +
                                    QStringLiteral(" already exists. Operation Cancelled."),
                                MsgIcon::None, stringResource(Str::AppName));
        else if (r.outcome.result == CopyOutcome::LocalReadFailed)
            throw RuntimeError(Err::FileNotFound, QStringLiteral("Varno"),
                               steps[i].local + QStringLiteral(": ") + r.outcome.problem);
        else if (r.outcome.result != CopyOutcome::Done)
            m_prompt.messageBox(deviceOpenProblem(r.outcome.deviceError), MsgIcon::None,
                                stringResource(Str::AppName));
        if (steps[i].row >= 0)
            localThemes.picked[steps[i].row] = false;
    }
}

void DeviceTransferForm::sendThemes()
{
    std::vector<SendStep> steps;
    for (const int row : localThemes.pickedRows())
        steps.push_back({QDir(localFolder).filePath(localThemes.items[row]),
                         deviceFolder + localThemes.items[row], row});
    sendSteps(steps);
}

void DeviceTransferForm::sendThemeFiles(const QStringList &paths)
{
    std::vector<SendStep> steps;
    for (const QString &path : paths)
        steps.push_back({path, deviceFolder + QFileInfo(path).fileName(), -1});
    sendSteps(steps);
}

void DeviceTransferForm::sendSteps(const std::vector<SendStep> &steps)
{
    auto body = [&] {
        sendFiles(steps);
        listDeviceThemes();
    };
    if (remoteMode)
        trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("SendThemesToPPCWM5"),
             body);
    else
        trapNamed(m_prompt, QStringLiteral("SendThemesToPPC"), body);
}

bool DeviceTransferForm::enterDeviceFolder(const QString &path)
{
    deviceFolder = Root;
    deviceCaption = QStringLiteral("PPC Location: \\");
    listDeviceFolders();
    listDeviceThemes();
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        qsizetype row = -1;
        for (qsizetype i = 0; i < deviceFolders.items.size() && row < 0; ++i)
            if (deviceFolders.items[i] != QLatin1String("..") &&
                deviceFolders.items[i].compare(part, Qt::CaseInsensitive) == 0)
                row = i;
        if (row < 0) {
            m_prompt.messageBox(QStringLiteral("There is no folder ") + deviceFolder + part +
                                    QStringLiteral(" on the device."),
                                MsgIcon::Exclamation, stringResource(Str::Maker));
            return false;
        }
        const QString before = deviceFolder;
        openDeviceFolders({int(row)});
        if (deviceFolder == before)
            return false;
    }
    return true;
}

QString DeviceTransferForm::localPathFor(const QString &name)
{
    QString path;
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Function"), QStringLiteral("MakePath"), [&] {
        // A device can name a file anything; here it must stay one name.
        if (!isPlainName(name))
            throw runtimeError(Err::BadFileName);
        path = QDir(localFolder).filePath(name);
    });
    return path;
}

void DeviceTransferForm::fetchThemes()
{
    auto body = [&] {
        struct Step {
            QString device, local;
            bool fetched = false;
            CopyOutcome outcome;
            int controlError = 0;
        };
        std::vector<Step> steps;
        for (const int row : deviceThemes.pickedRows()) {
            deviceThemes.picked[row] = false;
            const QString local = localPathFor(deviceThemes.items[row]);
            if (!local.isEmpty())
                steps.push_back({deviceFolder + deviceThemes.items[row], local, false, {}, 0});
        }
        CopyJob job;
        job.title = QStringLiteral("Copying themes to the PC");
        job.total = int(steps.size());
        job.m_work = [&](CopyJob &j) {
            for (Step &s : steps) {
                if (j.cancelled())
                    break;
                if (remoteMode) {
                    // The find gives a device that has just been asked for
                    // a listing time to answer; the open says what is there.
                    DeviceFindRecord record;
                    if (const int handle = findFirstRetrying(m_device, s.device, record);
                        handle > 0)
                        m_device.findClose(handle);
                    s.outcome = fetchFile(m_device, s.device, s.local, j.progress());
                } else {
                    m_device.setOverwrite(false);
                    s.fetched = m_device.copyFromDevice(s.device, s.local, j.progress());
                    s.controlError = m_device.controlLastError();
                }
                ++j.finished;
            }
        };
        runCopies(job);

        for (int i = 0; i < job.finished; ++i) {
            const Step &s = steps[size_t(i)];
            const bool stopped = remoteMode ? s.outcome.result == CopyOutcome::Cancelled
                                            : !s.fetched && job.cancelled();
            if (stopped)
                break;
            if (!remoteMode) {
                if (!s.fetched)
                    m_prompt.messageBox(QStringLiteral("Error Copying File To Desktop: ") +
                                            DeviceFiles::errorText(s.controlError),
                                        MsgIcon::Critical, stringResource(Str::Maker));
                continue;
            }
            trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
                 QStringLiteral("CopyFileFromPocketPC"), [&] {
                     switch (s.outcome.result) {
                     case CopyOutcome::DeviceOpenFailed:
                         m_prompt.messageBox(
                             s.device + QStringLiteral(
                                            " - Device File Does Not Exist Or Is Empty (0 Bytes)!"),
                             MsgIcon::Exclamation, QStringLiteral("Data Transfer"));
                         break;
                     case CopyOutcome::LocalOpenFailed:
                         m_prompt.messageBox(QStringLiteral("Path not found in PC."),
                                             MsgIcon::Critical, QStringLiteral("Download"));
                         break;
                     case CopyOutcome::DeviceReadFailed: throw runtimeError(Err::DeviceIOError);
                     default: break;
                     }
                 });
        }
        listLocalThemes();
    };
    if (remoteMode)
        trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
             QStringLiteral("CopyFileFromPocketPC"), body);
    else
        trapNamed(m_prompt, QStringLiteral("GetPPCFile"), body);
}

void DeviceTransferForm::deleteDeviceThemes()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Function"), QStringLiteral("DeletePPCFile"),
         [&] {
             BusyPointer busy(m_prompt);
             for (const int row : deviceThemes.pickedRows())
                 m_device.controlDelete(deviceFolder + deviceThemes.items[row]);
             listDeviceThemes();
         });
}

void DeviceTransferForm::deleteLocalThemes()
{
    trapNamed(m_prompt, QStringLiteral("DeleteLocalFiles"), [&] {
        // The trash keeps them for the user; only where there is none are
        // they deleted outright, and only when the user says so.
        QStringList kept;
        for (const int row : localThemes.pickedRows()) {
            const QString path = QDir(localFolder).filePath(localThemes.items[row]);
            if (!moveToTrash(path))
                kept << path;
        }
        if (!kept.isEmpty() &&
            m_prompt.messageBox(QStringLiteral("These themes cannot be moved to the trash:\r\n") +
                                    kept.join(QStringLiteral("\r\n")) +
                                    QStringLiteral("\r\nDelete them for good?"),
                                MsgIcon::Question, stringResource(Str::Maker),
                                MsgButtons::YesNo) == MsgResult::Yes) {
            for (const QString &path : kept)
                QFile::remove(path);
        }
        listLocalThemes();
    });
}

void DeviceTransferForm::sendCurrent()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("SendCurrent"), [&] {
        QString name = m_current.name();
        if (name.isEmpty()) {
            bool cancelled = false;
            const QString answer =
                m_prompt.askText(QStringLiteral("Please give Theme a Name!"),
                                 stringResource(Str::AppName), QString(), cancelled);
            if (cancelled || answer.trimmed().isEmpty())
                return;
            m_current.setName(answer);
            name = answer;
        }
        name = name.trimmed();
        if (!isPlainName(name))
            throw runtimeError(Err::BadFileName);
        QString folder = m_themesFolder.isEmpty() ? m_paths.defaultFolder(QStringLiteral("tsk"))
                                                  : m_themesFolder;
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        const QString file = name + QStringLiteral(".tsk");
        if (!m_current.saveHigh(folder + file))
            return;
        sendFiles({SendStep{folder + file, deviceFolder + file}});
        listDeviceThemes();
        if (QDir(localFolder) == QDir(folder))
            listLocalThemes();
    });
}

void DeviceTransferForm::close()
{
    if (!m_connected || !transfersEnabled)
        return;
    if (remoteMode)
        m_device.endSession();
    else
        m_device.controlDisconnect();
    m_connected = false;
}

}  // namespace varno
