// Any bytes as a theme file: the cabinet reader, the setup-file reader and
// the picture loaders must answer with a result or an error, nothing else.
#include "fuzz/fuzzsupport.h"

#include "colour/colortable.h"
#include "package/cabinetreader.h"
#include "package/themeloader.h"
#include "package/themethumbnail.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startQt();
    static QTemporaryDir home;
    static const QString theme = home.filePath(QStringLiteral("input.tsk"));
    static const AppPaths paths = [] {
        AppPaths p;
        p.appFolder = home.path();
        p.settingsFile = home.filePath(QStringLiteral("settings.reg"));
        p.tmpFolder = home.filePath(QStringLiteral("tmp"));
        QDir().mkpath(p.tmpFolder);
        return p;
    }();
    static const Palettes palettes = buildPalettes();
    static const QByteArray templateInf;

    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile f(theme);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 0;
    }
    varno::SilentPrompt prompt;
    AppSettings settings;
    ThemeDocument doc;
    doc.colours.colors = defaultThemeColors();
    ThemeContext ctx{prompt, doc, settings, paths, templateInf, palettes};
    ThemeLoadView view;
    loadThemeFile(ctx, view, theme, false);

    // A load leaves nothing behind in the working folder.
    if (!QDir(paths.tmpFolder).isEmpty())
        __builtin_trap();

    // The work is bounded: no extraction decodes more than the limit,
    // however its members overlap.
    const QString all = home.filePath(QStringLiteral("all"));
    CabinetReader cab(theme);
    try {
        cab.extract(QString(), all, QString());
    } catch (const RuntimeError &) {
    }
    if (cab.decodedBytes() > CabinetReader::MaxExpansion)
        __builtin_trap();
    QDir(all).removeRecursively();

    // The listing paths of the reader, and the setup reader on raw bytes.
    try {
        cab.membersXml();
        cab.fileCount();
    } catch (const RuntimeError &) {
    }
    try {
        readThemeSetup(bytes);
    } catch (const RuntimeError &) {
    }
    // The browser's thumbnail: read in memory, decoded scaled, shrunk.
    readThemePreview(theme, QSize(128, 128));
    // Nothing may land outside the working folder.
    if (QDir(home.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size() > 3)
        __builtin_trap();
    return 0;
}
