#include "package/savetheme.h"

#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "base/codepage.h"
#include "base/messages.h"
#include "base/trap.h"
#include "package/cabwiz.h"
#include "package/infwriter.h"
#include "resources/resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace varno {

namespace {

// Library quality factors of the two JPEG compressions.
constexpr int MediumQuality = 2;
constexpr int HighQuality = 20;

// Scratch files are rebuilt on every save; only the theme file itself
// needs to survive a crash, so they are written without syncing.
void writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("SaveTheme"),
                           QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
}

void encode(const Raster &picture, const QString &path, const QString &compression)
{
    if (compression == CompressionMedium)
        writeScratch(path, encodeJpeg(picture, MediumQuality));
    else if (compression == CompressionHigh)
        writeScratch(path, encodeJpeg(picture, HighQuality));
    else
        writeScratch(path, encodePng(picture));
}

Raster canvas(const Raster &source, QSize size, const TransparencyOverlay &overlay)
{
    Raster c(size.width(), size.height());
    // Before any picture has been loaded the canvas stays black.
    if (!source.isNull())
        c.copyRect(source, 0, 0, size.width(), size.height(), 0, 0);
    if (overlay.enabled) {
        Raster layer(size.width(), size.height());
        layer.fill(overlay.color);
        c.blend(layer, 0, 0, overlay.level);
    }
    return c;
}

bool folderHasFiles(const QString &folder)
{
    return !QDir(folder)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                .isEmpty();
}

// The directive file, written once into the application folder; its last
// line has no line break.
void ensureDirectiveFile(const AppPaths &paths)
{
    const QString ddf = paths.appFolder + QStringLiteral("/cabwiz.ddf");
    if (QFile::exists(ddf))
        return;
    QByteArray text = customResource(QStringLiteral("CABWIZDDF"));
    if (text.endsWith("\r\n"))
        text.chop(2);
    QSaveFile f(ddf);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("SaveTheme"),
                           QStringLiteral("cannot write %1: %2").arg(ddf, f.errorString()));
}

}  // namespace

Raster todayPictureForSave(const ThemeDocument &doc)
{
    const DeviceProfile &p = saveGeometryFor(doc.themeType);
    return canvas(doc.todayPicture, p.todaySize, doc.colours.main);
}

Raster menuPictureForSave(const ThemeDocument &doc)
{
    const DeviceProfile &p = saveGeometryFor(doc.themeType);
    Raster menu = canvas(doc.menuPicture, p.menuCanvas, doc.colours.menu);
    // The VGA rectangle reaches one row past the canvas; it is clipped.
    menu.crop(p.menuCrop.x(), p.menuCrop.y(), p.menuCrop.width(), p.menuCrop.height());
    return menu;
}

void deleteWorkFiles(const QString &folder, const QStringList &endings)
{
    QDir dir(folder);
    // A folder of a working file's name (left by a hostile theme in an
    // older version) goes too: it would stand where the file is written.
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        for (const QString &ending : endings) {
            if (entry.fileName().endsWith(ending, Qt::CaseInsensitive)) {
                const bool removed = entry.isDir() && !entry.isSymLink()
                                         ? QDir(entry.filePath()).removeRecursively()
                                         : dir.remove(entry.fileName());
                if (!removed)
                    throw RuntimeError(Err::PermissionDenied, QStringLiteral("SaveTheme"),
                                       QStringLiteral("cannot delete %1").arg(entry.filePath()));
                break;
            }
        }
    }
}

void replaceFile(const QString &from, const QString &linkOrFile)
{
    // Saving over a link replaces what it points to and keeps the link.
    QString to = linkOrFile;
    const QFileInfo target(linkOrFile);
    if (target.isSymLink())
        to = target.exists() ? target.canonicalFilePath() : target.symLinkTarget();
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (std::rename(src.constData(), dst.constData()) == 0)
        return;
    if (errno != EXDEV)
        throw RuntimeError(
            Err::PathFileAccess, QStringLiteral("SaveTheme"),
            QStringLiteral("cannot move the theme to %1: %2")
                .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(std::strerror(errno))));
    // Another file system: complete a copy beside the target, then swap.
    QFile in(from);
    QSaveFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("SaveTheme"),
                           QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(to)));
    const QByteArray bytes = in.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit())
        throw RuntimeError(Err::DiskFull, QStringLiteral("SaveTheme"),
                           QStringLiteral("cannot write %1: %2")
                               .arg(QDir::toNativeSeparators(to), out.errorString()));
    in.remove();
}

bool saveTheme(ThemeContext &ctx, const QString &compression, const QString &target,
               QString *savedTo)
{
    Prompt &prompt = ctx.prompt;
    ThemeDocument &doc = ctx.doc;
    bool saved = false;
    bool busy = false;
    const auto restorePointer = [&] {
        if (busy)
            prompt.setBusy(false);
        busy = false;
    };
    const QString work = ctx.paths.tmpFolder;
    const bool ok = trapLong(
        prompt, QStringLiteral("SaveTheme"),
        [&] {
            if (doc.themeName.trimmed().isEmpty()) {
                prompt.messageBox(QStringLiteral("Please Enter a Theme Name First"),
                                  MsgIcon::Exclamation, stringResource(Str::Notice));
                return;
            }
            doc.currentThemeName = doc.themeName.trimmed();
            QString fileName;
            if (!target.isEmpty()) {
                ctx.settings.themesFolder = folderPart(target);
                fileName = target.mid(ctx.settings.themesFolder.size());
            } else {
                const QString chosen = chooseFileToSaveOrEmpty(
                    prompt,
                    {QStringLiteral("Save Theme"), QStringLiteral("Save Theme (*.tsk)|*.tsk"),
                     ctx.settings.themesFolder, doc.currentThemeName, true});
                if (chosen.isEmpty())
                    return;
                prompt.setBusy(true);
                busy = true;
                ctx.settings.themesFolder = folderPart(chosen);
                fileName = chosen.mid(ctx.settings.themesFolder.size());
            }
            const QString base = fileName.endsWith(QLatin1String(".tsk"), Qt::CaseInsensitive)
                                     ? fileName.chopped(4)
                                     : fileName;
            // The setup file holds the name in the devices' code page.
            if (const QChar c = firstNotInCp1252(base); !c.isNull()) {
                restorePointer();
                prompt.messageBox(QStringLiteral("The theme name \"%1\" holds \"%2\", which a "
                                                 "Pocket PC cannot show. Please choose a name "
                                                 "in Western European letters.")
                                      .arg(base, c),
                                  MsgIcon::Exclamation, stringResource(Str::Notice));
                return;
            }
            const QStringList workFiles = {QStringLiteral(".gif"), QStringLiteral(".txt"),
                                           QStringLiteral(".dat"), QStringLiteral(".inf")};
            if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
                throw runtimeError(Err::PathNotFound, QStringLiteral("SaveTheme"));
            if (folderHasFiles(work))
                deleteWorkFiles(work, workFiles);
            QString appName = base;
            saveInfFile(prompt, work, ctx.templateInf, doc.themeType, doc.wm5Theme,
                        doc.colours.colors, appName);
            // 8, 9.
            encode(todayPictureForSave(doc), work + QStringLiteral("/tdywater.gif"), compression);
            encode(menuPictureForSave(doc), work + QStringLiteral("/stwater.gif"), compression);
            ensureDirectiveFile(ctx.paths);
            // Our own wizard, in process.
            const CabWizResult cab = runCabWiz(
                {work + QStringLiteral("/vl.inf"), work + QStringLiteral("/CabWizErr.txt"),
                 QStringLiteral("ipaq"),
                 ddfWantsCompression(ctx.paths.appFolder + QStringLiteral("/cabwiz.ddf"))});
            if (!cab.ok || !QFile::exists(cab.cabinet)) {
                restorePointer();
                prompt.messageBox(
                    QStringLiteral("CAB file not created! Unable to assemble Theme File!"),
                    MsgIcon::Critical, stringResource(Str::Error));
                return;
            }
            // The old theme is replaced only by a complete new one.
            const QString file = ctx.settings.themesFolder + base + QStringLiteral(".tsk");
            replaceFile(cab.cabinet, file);
            if (savedTo)
                *savedTo = file;
            saved = true;
            restorePointer();
            if (target.isEmpty())
                prompt.messageBox(QStringLiteral("Theme ") + base +
                                      QStringLiteral(" has been saved!"),
                                  MsgIcon::Information, stringResource(Str::Maker));
            if (folderHasFiles(work))
                deleteWorkFiles(work, workFiles);
        },
        true);
    if (!ok)
        restorePointer();
    return saved;
}

}  // namespace varno
