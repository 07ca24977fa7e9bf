// Varno's program: starts the editor, or runs one command without a window.
#include "app/raster/raster.h"
#include "base/memoryreuse.h"
#include "base/signalcleanup.h"
#include "cli/commands.h"
#include "ui/handover.h"
#include "ui/widgets/mainwindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <cstring>

namespace {

const char *const kUsage =
    "Usage: varno [COMMAND [ARGUMENTS] | FILE]\n"
    "\n"
    "Varno edits the Today themes (.tsk) of Pocket PC and Windows Mobile 5 devices.\n"
    "Without a command it starts the editor; given a theme or a picture FILE, the\n"
    "editor opens it (a picture in the fitting dialog).\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help and exit.\n"
    "  -v, --version   Show the version and exit.\n"
    "\n";

const char *const kEnvironment =
    "\n"
    "Environment:\n"
    "  VARNO_HOME      Keep the settings file and the working folders under this folder.\n";

int runEditor(int argc, char **argv, const QString &file)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varno"));
    QApplication::setApplicationVersion(QStringLiteral(VARNO_VERSION));
    // Lets the desktop find our menu entry and icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("varno"));
    // The device font; the previews fall back to a look-alike without it.
    varno::loadDeviceFonts();
    varno::EditorSession session(varno::AppPaths::forEditor());
    varno::QtPrompt startPrompt;
    switch (session.start(startPrompt)) {
    case varno::EditorSession::Start::AlreadyRunning:
        // The running editor opens the file (or just comes forward).
        if (varno::HandOver::send(session.paths.handOverSocket(), file))
            return 0;
        QTextStream(stderr) << "varno: the editor is already running but does not answer\n";
        return 1;
    case varno::EditorSession::Start::Failed: return 1;
    case varno::EditorSession::Start::ShowWindow: break;
    }
    if (!session.lockProblem().isEmpty())
        QTextStream(stderr) << "varno: " << session.lockProblem()
                            << "; a second editor will not be noticed\n";
    varno::MainWindow window(session);
    window.load();
    window.show();
    varno::HandOver handOver;
    const auto bringForward = [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.raise();
        window.activateWindow();
    };
    QObject::connect(&handOver, &varno::HandOver::raiseRequested, &window, bringForward);
    QObject::connect(&handOver, &varno::HandOver::fileReceived, &window,
                     [&window, bringForward](const QString &handed) {
                         bringForward();
                         window.openFile(handed);
                     });
    if (!handOver.listen(session.paths.handOverSocket()))
        QTextStream(stderr) << "varno: cannot take files from later starts: "
                            << session.paths.handOverSocket() << "\n";
    // Once the window is up, so a dialog the file opens sits over it.
    if (!file.isEmpty())
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    return app.exec();
}

}  // namespace

int main(int argc, char **argv)
{
    varno::keepFreedMemoryForReuse();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc > 1 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
        out << kUsage << varno::commandsHelp() << kEnvironment;
        return 0;
    }
    if (argc > 1 && (!std::strcmp(argv[1], "-v") || !std::strcmp(argv[1], "--version"))) {
        out << "varno " << VARNO_VERSION << "\n";
        return 0;
    }
    // A file given alone (as a file manager passes it) opens in the editor.
    if (argc == 2) {
        const QString first = QString::fromLocal8Bit(argv[1]);
        if (!varno::isCommand(first) && QFileInfo(first).isFile())
            return runEditor(argc, argv, QFileInfo(first).absoluteFilePath());
    }
    if (argc > 1) {
        // Commands never need a display; pictures and fonts still need Qt Gui.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // A command says what went wrong in one line of its own; the
        // libraries' notes are for developers (QT_LOGGING_RULES shows them).
        QLoggingCategory::setFilterRules(QStringLiteral("varno.*.warning=false\n"
                                                        "qt.*.warning=false\n"
                                                        "default.warning=false"));
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("varno"));
        varno::installSignalCleanup();
        const QStringList args = QGuiApplication::arguments().mid(1);
        if (!varno::isCommand(args.first())) {
            // A lone argument that reads as a file name was meant to be opened.
            const QString &first = args.first();
            if (args.size() == 1 && QFileInfo::exists(first))
                err << "varno: " << first << ": not a theme or picture file\n";
            else if (args.size() == 1 && (first.contains(u'.') || first.contains(u'/')))
                err << "varno: " << first << ": no such file\n";
            else
                err << "varno: unknown command " << first << "; see varno --help\n";
            return varno::Exit::Usage;
        }
        return varno::runCommand(args, out, err);
    }
    return runEditor(argc, argv, QString());
}
