// Any bytes as an installation script for our cabinet wizard: it builds a
// cabinet or lists its problems, and never reads or writes outside its folder.
#include "fuzz/fuzzsupport.h"

#include "package/cabwiz.h"
#include "package/cesetup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startQt();
    static QTemporaryDir parent;
    static const QString folder = [] {
        const QString f = parent.filePath(QStringLiteral("work"));
        QDir().mkpath(f);
        for (const char *name : {"tdywater.gif", "stwater.gif"}) {
            QFile pic(f + QLatin1Char('/') + QLatin1String(name));
            if (pic.open(QIODevice::WriteOnly))
                pic.write("picture bytes");
        }
        return f;
    }();
    const QString script = folder + QStringLiteral("/vl.inf");
    {
        QFile f(script);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    const CabWizResult r = runCabWiz(
        {script, folder + QStringLiteral("/err.txt"), QStringLiteral("ipaq"), size % 2 == 1});
    if (r.ok != QFile::exists(r.cabinet))
        __builtin_trap();
    // The setup reader must take back whatever the builder wrote.
    (void)parseCeSetup(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size() != 1)
        __builtin_trap();
    return 0;
}
