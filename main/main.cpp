// Varno's program: starts the editor, or runs one command without a window.
#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace {

const char *const kHelp =
    "Usage: varno [COMMAND] [OPTIONS]\n"
    "\n"
    "Varno edits the Today themes (.tsk) of Pocket PC and Windows Mobile 5 devices.\n"
    "Without a command it starts the editor.\n"
    "\n"
    "Options:\n"
    "  -h, --help      Show this help and exit.\n"
    "  -v, --version   Show the version and exit.\n"
    "\n"
    "Environment:\n"
    "  VARNO_HOME      Keep the settings file and the working folders under this folder.\n";

}  // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help")) {
            QTextStream(stdout) << kHelp;
            return 0;
        }
        if (!std::strcmp(argv[i], "-v") || !std::strcmp(argv[i], "--version")) {
            QTextStream(stdout) << "varno " << VARNO_VERSION << "\n";
            return 0;
        }
    }
    QTextStream(stderr) << "varno: the editor window is not available yet; see --help\n";
    return 2;
}
