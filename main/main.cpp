// Varno's program: starts the editor, or runs one command without a window.
#include "cli/commands.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>

namespace {

const char *const kUsage =
    "Usage: varno [COMMAND [ARGUMENTS]]\n"
    "\n"
    "Varno edits the Today themes (.tsk) of Pocket PC and Windows Mobile 5 devices.\n"
    "Without a command it starts the editor (its window is not in this build yet).\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help and exit.\n"
    "  -v, --version   Show the version and exit.\n"
    "\n";

const char *const kEnvironment =
    "\n"
    "Environment:\n"
    "  VARNO_HOME      Keep the settings file and the working folders under this folder.\n";

}  // namespace

int main(int argc, char **argv)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc > 1 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
        out << kUsage << varno::CommandsHelp() << kEnvironment;
        return 0;
    }
    if (argc > 1 && (!std::strcmp(argv[1], "-v") || !std::strcmp(argv[1], "--version"))) {
        out << "varno " << VARNO_VERSION << "\n";
        return 0;
    }
    if (argc > 1) {
        // Commands never need a display; pictures and fonts still need Qt Gui.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("varno"));
        const QStringList args = QGuiApplication::arguments().mid(1);
        if (!varno::IsCommand(args.first())) {
            err << "varno: unknown command " << args.first() << "; see varno --help\n";
            return varno::Exit::Usage;
        }
        return varno::RunCommand(args, out, err);
    }
    err << "varno: the editor window is not available yet; see varno --help\n";
    return varno::Exit::Usage;
}
