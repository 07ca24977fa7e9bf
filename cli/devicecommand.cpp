#include "cli/devicecommand.h"

#include "cli/commandargs.h"
#include "cli/consoleprompt.h"
#include "device/devicetransferform.h"
#include "device/folderdevice.h"

#include <QDir>

namespace varno {

const char *const kDeviceUsage =
    "device --folder DIR [--os ppc2003|wm5] list [PATH]\n"
    "  device --folder DIR [--os ppc2003|wm5] send THEME.tsk... [--to PATH]\n"
    "  device --folder DIR [--os ppc2003|wm5] fetch FILE... [-d DIR]\n"
    "  device --folder DIR [--os ppc2003|wm5] delete FILE...\n"
    "                  Themes on a device reached as a folder (a storage card, a device\n"
    "                  in mass-storage mode). PATH and FILE are device paths as the\n"
    "                  transfer window shows them: \\My Documents\\ and\n"
    "                  \\My Documents\\Blue.tsk (PATH defaults to \\). A theme already on\n"
    "                  the device is never replaced; fetch writes into DIR (default:\n"
    "                  here). --os is the system the device runs (default wm5).\n";

namespace {

// Every message the transfer makes tells of something not done; the
// command counts them for its exit code.
class CountingPrompt : public ConsolePrompt {
public:
    using ConsolePrompt::ConsolePrompt;
    MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                         MsgButtons buttons) override
    {
        ++messages;
        return ConsolePrompt::messageBox(text, icon, title, buttons);
    }
    int messages = 0;
};

bool isDevicePath(const QString &path)
{
    return path.startsWith(QLatin1Char('\\'));
}

// "\My Documents\Blue.tsk" as its folder "\My Documents\" and name.
std::pair<QString, QString> splitDevicePath(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    return {path.left(cut + 1), path.mid(cut + 1)};
}

}  // namespace

int deviceCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {});
    a.allowOnly({"folder", "os", "to", "d"});
    const QString folder = a.required(QStringLiteral("folder"));
    const QString os = a.has("os") ? a.value("os").toLower() : QStringLiteral("wm5");
    if (os != QLatin1String("ppc2003") && os != QLatin1String("wm5"))
        throw UsageError{QStringLiteral("--os is ppc2003 or wm5")};
    QStringList operands = a.positional();
    const QString action = operands.isEmpty() ? QString() : operands.takeFirst();
    if (action != QLatin1String("list") && action != QLatin1String("send") &&
        action != QLatin1String("fetch") && action != QLatin1String("delete"))
        throw UsageError{QStringLiteral("give list, send, fetch or delete")};
    if (a.has("to") && action != QLatin1String("send"))
        throw UsageError{QStringLiteral("--to goes with send")};
    if (a.has("d") && action != QLatin1String("fetch"))
        throw UsageError{QStringLiteral("-d goes with fetch")};
    if (action == QLatin1String("list") && operands.size() > 1)
        throw UsageError{QStringLiteral("list takes one device folder")};
    if (action != QLatin1String("list") && operands.isEmpty())
        throw UsageError{QStringLiteral("give the files to %1").arg(action)};
    const QString target = action == QLatin1String("list") ? operands.value(0, QStringLiteral("\\"))
                           : a.value("to").isEmpty()       ? QStringLiteral("\\")
                                                           : a.value("to");
    if (!isDevicePath(target))
        throw UsageError{
            QStringLiteral("%1 is not a device path such as \\My Documents\\").arg(target)};
    if (action == QLatin1String("fetch") || action == QLatin1String("delete"))
        for (const QString &file : operands)
            if (!isDevicePath(file) || file.endsWith(QLatin1Char('\\')))
                throw UsageError{
                    QStringLiteral("%1 is not a device file such as \\My Documents\\Blue.tsk")
                        .arg(file)};
    const QString localFolder = a.value("d").isEmpty() ? QDir::currentPath() : a.value("d");
    if (action == QLatin1String("fetch") && !QDir().mkpath(localFolder))
        throw UsageError{QStringLiteral("cannot make the folder %1").arg(localFolder)};

    FolderDevice device(folder, os);
    CountingPrompt prompt(err);
    AppPaths paths;
    paths.appFolder = QDir::currentPath();
    DeviceTransferForm form(prompt, device, paths, localFolder);
    form.load();
    form.connectDevice();
    if (!form.transfersEnabled)
        return 1;

    if (action == QLatin1String("list")) {
        if (form.enterDeviceFolder(target)) {
            for (const QString &name : form.deviceFolders.items)
                if (name != QLatin1String(".."))
                    out << printable(name) << "\\\n";
            for (const QString &name : form.deviceThemes.items)
                out << printable(name) << "\n";
        }
    } else if (action == QLatin1String("send")) {
        if (form.enterDeviceFolder(target))
            form.sendThemeFiles(operands);
    } else {
        for (const QString &file : operands) {
            const auto [where, name] = splitDevicePath(file);
            if (!form.enterDeviceFolder(where))
                continue;
            if (action == QLatin1String("fetch")) {
                // As if the user picked it: a name the device does not have
                // is told as the window tells it.
                form.deviceThemes.set({name});
                form.deviceThemes.pick({name});
                form.fetchThemes();
                continue;
            }
            qsizetype row = form.deviceThemes.items.size();
            while (--row >= 0 &&
                   form.deviceThemes.items[row].compare(name, Qt::CaseInsensitive) != 0) {}
            if (row < 0) {
                err << "varno: " << printable(file) << ": no such theme on the device\n";
                ++prompt.messages;
                continue;
            }
            form.deviceThemes.picked[row] = true;
            form.deleteDeviceThemes();
        }
    }
    form.close();
    return prompt.messages ? 1 : 0;
}

}  // namespace varno
