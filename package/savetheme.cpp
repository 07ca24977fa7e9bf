#include "package/savetheme.h"

#include "app/profiles.h"
#include "app/raster/pictureio.h"
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
        writeScratch(path, EncodeJpeg(picture, MediumQuality));
    else if (compression == CompressionHigh)
        writeScratch(path, EncodeJpeg(picture, HighQuality));
    else
        writeScratch(path, EncodePng(picture));
}

Raster canvas(const Raster &source, QSize size, const TransparencyOverlay &overlay)
{
    Raster c(size.width(), size.height());
    // Before any picture has been loaded the canvas stays black.
    if (!source.isNull())
        c.copyRect(source, 0, 0, size.width(), size.height(), 0, 0);
    if (overlay.On) {
        Raster layer(size.width(), size.height());
        layer.fill(overlay.Color);
        c.blend(layer, 0, 0, overlay.Level);
    }
    return c;
}

bool folderHasFiles(const QString &folder)
{
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

// The directive file, written once into the application folder; its last
// line has no line break.
void ensureDirectiveFile(const AppPaths &paths)
{
    const QString ddf = paths.appFolder + QStringLiteral("/cabwiz.ddf");
    if (QFile::exists(ddf))
        return;
    QByteArray text = LoadCustomResource(QStringLiteral("CABWIZDDF"));
    if (text.endsWith("\r\n"))
        text.chop(2);
    QSaveFile f(ddf);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("SaveTheme"),
                           QStringLiteral("cannot write %1: %2").arg(ddf, f.errorString()));
}

}  // namespace

Raster TodayPictureForSave(const ThemeDocument &doc)
{
    const DeviceProfile &p = SaveGeometryFor(doc.ThemeType);
    return canvas(doc.LEADMain, p.todaySize, doc.Colours.Main);
}

Raster MenuPictureForSave(const ThemeDocument &doc)
{
    const DeviceProfile &p = SaveGeometryFor(doc.ThemeType);
    Raster menu = canvas(doc.LEADMenu, p.menuCanvas, doc.Colours.Menu);
    // The VGA rectangle reaches one row past the canvas; it is clipped.
    menu.crop(p.menuCrop.x(), p.menuCrop.y(), p.menuCrop.width(), p.menuCrop.height());
    return menu;
}

void DeleteWorkFiles(const QString &folder, const QStringList &endings)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        for (const QString &ending : endings) {
            if (name.endsWith(ending, Qt::CaseInsensitive)) {
                if (!dir.remove(name))
                    throw RuntimeError(Err::PermissionDenied, QStringLiteral("SaveTheme"),
                                       QStringLiteral("cannot delete %1").arg(dir.filePath(name)));
                break;
            }
        }
    }
}

void ReplaceFile(const QString &from, const QString &to)
{
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

bool SaveTheme(ThemeContext &ctx, const QString &compression, const QString &target)
{
    Prompt &prompt = ctx.prompt;
    ThemeDocument &doc = ctx.doc;
    bool saved = false;
    bool busy = false;
    const auto restorePointer = [&] {
        if (busy)
            prompt.SetBusy(false);
        busy = false;
    };
    const QString work = ctx.paths.tmpFolder;
    const bool ok = trapLong(
        prompt, QStringLiteral("SaveTheme"),
        [&] {
            // 2.
            if (doc.ThemeName.trimmed().isEmpty()) {
                prompt.MsgBox(QStringLiteral("Please Enter a Theme Name First"),
                              MsgIcon::Exclamation, LoadResString(Str::Notice));
                return;
            }
            // 3.
            doc.CurrentThemeName = doc.ThemeName.trimmed();
            // 4.
            QString fileName;
            if (!target.isEmpty()) {
                ctx.settings.TSKPath = FolderPart(target);
                fileName = target.mid(ctx.settings.TSKPath.size());
            } else {
                const QString chosen =
                    ShowSaveOrEmpty(prompt, {QStringLiteral("Save Theme"),
                                             QStringLiteral("Save Theme (*.tsk)|*.tsk"),
                                             ctx.settings.TSKPath, doc.CurrentThemeName, true});
                if (chosen.isEmpty())
                    return;
                prompt.SetBusy(true);
                busy = true;
                ctx.settings.TSKPath = FolderPart(chosen);
                fileName = chosen.mid(ctx.settings.TSKPath.size());
            }
            // 5.
            const QString base = fileName.endsWith(QLatin1String(".tsk"), Qt::CaseInsensitive)
                                     ? fileName.chopped(4)
                                     : fileName;
            // 6.
            const QStringList workFiles = {QStringLiteral(".gif"), QStringLiteral(".txt"),
                                           QStringLiteral(".dat"), QStringLiteral(".inf")};
            if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
                throw runtimeError(Err::PathNotFound, QStringLiteral("SaveTheme"));
            if (folderHasFiles(work))
                DeleteWorkFiles(work, workFiles);
            // 7.
            QString appName = base;
            SaveInfFile(prompt, work, ctx.templateInf, doc.ThemeType, doc.Wm5Theme,
                        doc.Colours.Colors, appName);
            // 8, 9.
            encode(TodayPictureForSave(doc), work + QStringLiteral("/tdywater.gif"), compression);
            encode(MenuPictureForSave(doc), work + QStringLiteral("/stwater.gif"), compression);
            // 10.
            ensureDirectiveFile(ctx.paths);
            // 13. Our own wizard, in process.
            const CabWizResult cab = RunCabWiz(
                {work + QStringLiteral("/vl.inf"), work + QStringLiteral("/CabWizErr.txt"),
                 QStringLiteral("ipaq"),
                 DdfWantsCompression(ctx.paths.appFolder + QStringLiteral("/cabwiz.ddf"))});
            // 14.
            if (!cab.ok || !QFile::exists(cab.cabinet)) {
                restorePointer();
                prompt.MsgBox(
                    QStringLiteral("CAB file not created! Unable to assemble Theme File!"),
                    MsgIcon::Critical, LoadResString(Str::Error));
                return;
            }
            // 15. The old theme is replaced only by a complete new one.
            ReplaceFile(cab.cabinet, ctx.settings.TSKPath + base + QStringLiteral(".tsk"));
            saved = true;
            // 16.
            restorePointer();
            if (target.isEmpty())
                prompt.MsgBox(QStringLiteral("Theme ") + base + QStringLiteral(" has been saved!"),
                              MsgIcon::Information, LoadResString(Str::Maker));
            // 17.
            if (folderHasFiles(work))
                DeleteWorkFiles(work, workFiles);
        },
        true);
    if (!ok)
        restorePointer();
    return saved;
}

}  // namespace varno
