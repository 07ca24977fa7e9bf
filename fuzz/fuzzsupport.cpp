#include "fuzz/fuzzsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace varno::fuzz {

void startQt()
{
    static int argc = 1;
    static char name[] = "varno-fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        // Every refused input logs why; over hundreds of thousands of runs
        // that would bury the fuzzer's own report.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &) {
            if (type == QtFatalMsg)
                std::abort();
        });
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

}  // namespace varno::fuzz

#ifndef VARNO_LIBFUZZER
// Replays every file given, or every file below the folders given.
int main(int argc, char **argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        QStringList files;
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        if (files.isEmpty())
            files << arg;
        for (const QString &path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray data = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()),
                                   static_cast<size_t>(data.size()));
            ++runs;
        }
    }
    std::printf("replayed %d inputs\n", runs);
    return runs > 0 ? 0 : 1;
}
#endif
