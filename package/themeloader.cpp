#include "package/themeloader.h"

#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/colortable.h"
#include "package/ccabfile.h"
#include "package/cesetup.h"
#include "package/infwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varno {

namespace {

// Colour value names as the script writes them, by slot.
int slotOfName(const QByteArray &name)
{
    for (int slot = 0; slot < SlotCount; ++slot)
        if (QByteArray(ColourValueField(slot)).trimmed() == name)
            return slot;
    return -1;
}

void deleteAllFiles(const QString &folder)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!dir.remove(name))
            throw RuntimeError(Err::PermissionDenied, QStringLiteral("LoadTheme"),
                               QStringLiteral("cannot delete %1").arg(dir.filePath(name)));
}

QString firstFileEndingIn(const QString &folder, const QString &ending)
{
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return QDir(folder).filePath(name);
    return QString();
}

QByteArray readSetup(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw runtimeError(Err::PathFileAccess, QStringLiteral("LoadTheme"));
    if (f.size() > MaxSetupFileBytes)
        throw runtimeError(Err::Overflow, QStringLiteral("LoadTheme"));
    return f.readAll();
}

}  // namespace

Raster PictureOnCanvas(Raster picture)
{
    picture.convertTo24();
    Raster canvas(640, 588);
    canvas.copyRect(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return canvas;
}

ThemeSetupRecords ReadThemeSetup(const QByteArray &b)
{
    if (b.size() > MaxSetupFileBytes)
        throw runtimeError(Err::Overflow, QStringLiteral("LoadTheme"));
    ThemeSetupRecords r;
    const int zero = b.indexOf('\0', 100);
    if (b.size() > 100)
        r.themeName = QString::fromLatin1(b.mid(100, zero < 0 ? -1 : zero - 100));
    // Without the marker the area is taken to start where it would for a
    // marker at the very beginning.
    const int marker = FindCeMarker(b);
    const int start = std::max(0, marker) + RegistryAreaLead;
    const auto at = [&](qsizetype i) -> int {
        return i >= 0 && i < b.size() ? static_cast<uint8_t>(b[i]) : -1;
    };
    const auto isDigit = [](int c) { return c >= '0' && c <= '9'; };
    for (qsizetype i = start; i < b.size(); ++i) {
        const int c = at(i);
        // "5": length 6, zero, digit, zero, red, green, blue.
        if (isDigit(c) && at(i - 2) == 6 && at(i - 1) == 0 && at(i + 1) == 0) {
            const int slot = slotOfName(QByteArray(1, char(c)));
            if (slot >= 0 && at(i + 4) >= 0)
                r.colours[slot] = RGB(at(i + 2), at(i + 3), at(i + 4));
        }
        // "27": length 7, zero, two digits, zero, red, green, blue.
        if (isDigit(c) && isDigit(at(i - 1)) && at(i - 2) == 0 && at(i - 3) == 7 &&
            at(i + 1) == 0) {
            const int slot = slotOfName(QByteArray(1, char(at(i - 1))) + char(c));
            if (slot >= 0 && at(i + 4) >= 0)
                r.colours[slot] = RGB(at(i + 2), at(i + 3), at(i + 4));
        }
        if (c == 'B' && b.mid(i + 1, 6) == "aseHue" && at(i + 10) >= 0)
            r.baseHueIndex = at(i + 8) + 256 * at(i + 9) + 65536 * at(i + 10);
    }
    return r;
}

InferredProfile InferProfile(int w, int h, bool wm5)
{
    if (w < 320 && h >= 240)
        return {QStringLiteral("STD"), 0, 0};
    if (w < 320)
        return {QStringLiteral("SQ240"), wm5 ? 6 : 3, -1};
    if (w == 320)
        return {QStringLiteral("QVGA"), wm5 ? 4 : 1, wm5 ? -1 : 1};
    return {QStringLiteral("VGA"), wm5 ? 5 : 2, wm5 ? -1 : 2};
}

bool LoadMainImage(ThemeContext &ctx, ThemeLoadView &view, const QString &path)
{
    if (path.isEmpty()) {
        ctx.prompt.MsgBox(QStringLiteral("Error in LoadMainImage: No File Name!"),
                          MsgIcon::Critical, LoadResString(Str::AppName));
        return false;
    }
    Raster picture;
    try {
        picture = LoadPicture(path);
    } catch (const RuntimeError &) {
        ctx.prompt.MsgBox(QStringLiteral("Error Loading Main Image!"), MsgIcon::Critical,
                          LoadResString(Str::Error));
        return false;
    }
    view.setLandscapeVisible(picture.width() >= 241);
    ctx.doc.LEADMain = PictureOnCanvas(picture);
    const InferredProfile p = InferProfile(picture.width(), picture.height(), ctx.doc.Wm5Theme);
    ctx.doc.ThemeType = p.ThemeType;
    view.showProfile(p.checked, p.pressed);
    view.DoScreenMain(QStringLiteral("MAIN"));
    return true;
}

bool LoadMenuImage(ThemeContext &ctx, const QString &path)
{
    if (path.isEmpty()) {
        ctx.prompt.MsgBox(QStringLiteral("Error in LoadMenuImage: No File Name!"),
                          MsgIcon::Critical, LoadResString(Str::AppName));
        return false;
    }
    try {
        ctx.doc.LEADMenu = PictureOnCanvas(LoadPicture(path));
    } catch (const RuntimeError &) {
        return false;
    }
    return true;
}

bool LoadTheme(ThemeContext &ctx, ThemeLoadView &view, const QString &source)
{
    // 1.
    QString file = source;
    const bool coloursOnly = source == ColorsFromTheme;
    if (source.isEmpty() || coloursOnly) {
        const bool asked = trapLong(ctx.prompt, QStringLiteral("LoadTheme"), [&] {
            file =
                ShowOpenOrEmpty(ctx.prompt, {QStringLiteral("Select TSK File"),
                                             QStringLiteral("TSK files (*.tsk)|*.tsk"), QString(),
                                             ctx.settings.TSKPath + QStringLiteral("*.tsk"), true});
        });
        if (!asked || file.isEmpty())
            return false;
    }
    return LoadThemeFile(ctx, view, file, coloursOnly);
}

bool LoadThemeFile(ThemeContext &ctx, ThemeLoadView &view, const QString &file, bool coloursOnly)
{
    Prompt &prompt = ctx.prompt;
    ThemeDocument &doc = ctx.doc;
    const QString work = ctx.paths.tmpFolder;
    const QString errorTitle = LoadResString(Str::Error);
    bool result = false;
    trapLong(prompt, QStringLiteral("LoadTheme"), [&] {
        // 2.
        view.setSliderTransparency(0);
        ctx.settings.TSKPath = FolderPart(file);
        // 3.
        if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
            throw runtimeError(Err::PathNotFound, QStringLiteral("LoadTheme"));
        deleteAllFiles(work);
        // 4.
        {
            BusyPointer busy(prompt);
            CCabFile cab;
            cab.strCabFile_m = file;
            if (!cab.Extract(QString(), work, QString())) {
                busy.release();
                view.LoadDefault();
                return;
            }
        }
        // 5.
        const QString setupPath = firstFileEndingIn(work, QStringLiteral(".000"));
        if (setupPath.isEmpty()) {
            prompt.MsgBox(QStringLiteral("Unable to locate Theme Data File!"), MsgIcon::Critical,
                          errorTitle);
            return;
        }
        // 6.
        const ThemeSetupRecords records = ReadThemeSetup(readSetup(setupPath));
        doc.CurrentThemeName = records.themeName;
        doc.ThemeName = records.themeName;
        view.setThemeNameText(records.themeName);
        // 7.
        doc.Wm5Theme = false;
        ThemeColors &colours = doc.Colours.Colors;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (records.colours[slot])
                colours[slot] = *records.colours[slot];
        if (records.baseHueIndex) {
            colours.BaseHueIndex = *records.baseHueIndex;
            colours.BaseHueColor = PaletteColor(ctx.palettes, *records.baseHueIndex);
            if (!coloursOnly)
                doc.Wm5Theme = true;
        }
        // 8.
        if (!records.colours[DialogText])
            colours[DialogText] = 0;
        if (!records.colours[MenuText])
            colours[MenuText] = 0;
        // 9.
        if (coloursOnly) {
            result = true;
            return;
        }
        // 10.
        DeleteWorkFiles(work, {QStringLiteral(".png")});
        // 11.
        const QString today = work + QStringLiteral("/tdywater.001");
        const QString menu = work + QStringLiteral("/0stwater.002");
        if (!QFile::exists(today)) {
            const QString single = work + QStringLiteral("/0stwater.001");
            if (!QFile::exists(single)) {
                prompt.MsgBox(QStringLiteral("Error Opening Theme! No Images!"), MsgIcon::Critical,
                              errorTitle);
                return;
            }
            QFile::remove(menu);
            if (!QFile::copy(single, today) || !QFile::rename(single, menu))
                throw runtimeError(Err::PathFileAccess, QStringLiteral("LoadTheme"));
        }
        // 12, 13.
        if (!LoadMainImage(ctx, view, today)) {
            prompt.MsgBox(QStringLiteral("Error loading Main Image!"), MsgIcon::Critical,
                          QStringLiteral("Velmora - ERROR"));
            return;
        }
        if (!LoadMenuImage(ctx, menu)) {
            prompt.MsgBox(QStringLiteral("Error loading Menu Image!"), MsgIcon::Critical,
                          QStringLiteral("Velmora - ERROR"));
            return;
        }
        // 14.
        deleteAllFiles(work);
        ResetMainTransparency(doc.Colours);
        ResetMenuTransparency(doc.Colours);
        result = true;
    });
    return result;
}

QString LoadImageFromTheme(ThemeContext &ctx, ThemeLoadView &view)
{
    QString picture;
    trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("LoadImageFromTheme"), [&] {
             // 1. Cancel gives an empty name, which ends the command.
             const QString file =
                 ShowOpenOrEmpty(ctx.prompt, {QStringLiteral("Load Image From Theme"),
                                              QStringLiteral("tsk files (*.tsk)|*.tsk"),
                                              ctx.settings.TSKPath, QString(), true});
             if (file.isEmpty())
                 return;
             // 2.
             ctx.settings.TSKPath = FolderPart(file);
             const QString work = ctx.paths.tmpFolder;
             if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
                 throw runtimeError(Err::PathNotFound, QStringLiteral("LoadImageFromTheme"));
             deleteAllFiles(work);
             // 3.
             bool extracted = false;
             try {
                 BusyPointer busy(ctx.prompt);
                 CCabFile cab;
                 cab.strCabFile_m = file;
                 extracted = cab.Extract(QString(), work, QString());
             } catch (const RuntimeError &) {
                 extracted = false;
             }
             if (!extracted) {
                 ctx.prompt.MsgBox(QStringLiteral("Error opening Pocket PC Theme (1)"),
                                   MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             // 4.
             const QString today = work + QStringLiteral("/tdywater.001");
             if (!QFile::exists(today)) {
                 ctx.prompt.MsgBox(QStringLiteral("Error opening Pocket PC Theme (2)"),
                                   MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             DeleteWorkFiles(work, {QStringLiteral(".000"), QStringLiteral(".002")});
             view.CloseImageDialogs();
             ctx.doc.ImageDialogReady = false;
             picture = today;
         });
    return picture;
}

}  // namespace varno
