#include "package/themeloader.h"

#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/colortable.h"
#include "package/cabinetreader.h"
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
        if (QByteArray(colourValueField(slot)).trimmed() == name)
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

Raster pictureOnCanvas(Raster picture)
{
    picture.convertTo24();
    Raster canvas(640, 588);
    canvas.copyRect(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return canvas;
}

ThemeSetupRecords readThemeSetup(const QByteArray &b)
{
    if (b.size() > MaxSetupFileBytes)
        throw runtimeError(Err::Overflow, QStringLiteral("LoadTheme"));
    ThemeSetupRecords r;
    const int zero = b.indexOf('\0', 100);
    if (b.size() > 100)
        r.themeName = QString::fromLatin1(b.mid(100, zero < 0 ? -1 : zero - 100));
    // Without the marker the area is taken to start where it would for a
    // marker at the very beginning.
    const int marker = findCeMarker(b);
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
                r.colours[slot] = rgb(at(i + 2), at(i + 3), at(i + 4));
        }
        // "27": length 7, zero, two digits, zero, red, green, blue.
        if (isDigit(c) && isDigit(at(i - 1)) && at(i - 2) == 0 && at(i - 3) == 7 &&
            at(i + 1) == 0) {
            const int slot = slotOfName(QByteArray(1, char(at(i - 1))) + char(c));
            if (slot >= 0 && at(i + 4) >= 0)
                r.colours[slot] = rgb(at(i + 2), at(i + 3), at(i + 4));
        }
        if (c == 'B' && b.mid(i + 1, 6) == "aseHue" && at(i + 10) >= 0)
            r.baseHueIndex = at(i + 8) + 256 * at(i + 9) + 65536 * at(i + 10);
    }
    return r;
}

InferredProfile inferProfile(int w, int h, bool wm5)
{
    if (w < 320 && h >= 240)
        return {QStringLiteral("STD"), 0, 0};
    if (w < 320)
        return {QStringLiteral("SQ240"), wm5 ? 6 : 3, -1};
    if (w == 320)
        return {QStringLiteral("QVGA"), wm5 ? 4 : 1, wm5 ? -1 : 1};
    return {QStringLiteral("VGA"), wm5 ? 5 : 2, wm5 ? -1 : 2};
}

bool loadMainImage(ThemeContext &ctx, ThemeLoadView &view, const QString &path)
{
    if (path.isEmpty()) {
        ctx.prompt.messageBox(QStringLiteral("Error in LoadMainImage: No File Name!"),
                              MsgIcon::Critical, stringResource(Str::AppName));
        return false;
    }
    Raster picture;
    try {
        picture = loadPicture(path);
    } catch (const RuntimeError &) {
        ctx.prompt.messageBox(QStringLiteral("Error Loading Main Image!"), MsgIcon::Critical,
                              stringResource(Str::Error));
        return false;
    }
    view.setLandscapeVisible(picture.width() >= 241);
    ctx.doc.todayPicture = pictureOnCanvas(picture);
    const InferredProfile p = inferProfile(picture.width(), picture.height(), ctx.doc.wm5Theme);
    ctx.doc.themeType = p.themeType;
    view.showProfile(p.checked, p.pressed);
    view.drawScreen(QStringLiteral("MAIN"));
    return true;
}

bool loadMenuImage(ThemeContext &ctx, const QString &path)
{
    if (path.isEmpty()) {
        ctx.prompt.messageBox(QStringLiteral("Error in LoadMenuImage: No File Name!"),
                              MsgIcon::Critical, stringResource(Str::AppName));
        return false;
    }
    try {
        ctx.doc.menuPicture = pictureOnCanvas(loadPicture(path));
    } catch (const RuntimeError &) {
        return false;
    }
    return true;
}

bool loadTheme(ThemeContext &ctx, ThemeLoadView &view, const QString &source)
{
    QString file = source;
    const bool coloursOnly = source == ColorsFromTheme;
    if (source.isEmpty() || coloursOnly) {
        const bool asked = trapLong(ctx.prompt, QStringLiteral("LoadTheme"), [&] {
            file = chooseFileToOpenOrEmpty(
                ctx.prompt,
                {QStringLiteral("Select TSK File"), QStringLiteral("TSK files (*.tsk)|*.tsk"),
                 QString(), ctx.settings.themesFolder + QStringLiteral("*.tsk"), true});
        });
        if (!asked || file.isEmpty())
            return false;
    }
    return loadThemeFile(ctx, view, file, coloursOnly);
}

bool loadThemeFile(ThemeContext &ctx, ThemeLoadView &view, const QString &file, bool coloursOnly)
{
    Prompt &prompt = ctx.prompt;
    ThemeDocument &doc = ctx.doc;
    const QString work = ctx.paths.tmpFolder;
    const QString errorTitle = stringResource(Str::Error);
    bool result = false;
    trapLong(prompt, QStringLiteral("LoadTheme"), [&] {
        view.showOverlayLevel(0);
        ctx.settings.themesFolder = folderPart(file);
        if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
            throw runtimeError(Err::PathNotFound, QStringLiteral("LoadTheme"));
        deleteAllFiles(work);
        {
            BusyPointer busy(prompt);
            CabinetReader cab(file);
            if (!cab.extract(QString(), work, QString())) {
                busy.release();
                view.showDefaultScreen();
                return;
            }
        }
        const QString setupPath = firstFileEndingIn(work, QStringLiteral(".000"));
        if (setupPath.isEmpty()) {
            prompt.messageBox(QStringLiteral("Unable to locate Theme Data File!"),
                              MsgIcon::Critical, errorTitle);
            return;
        }
        const ThemeSetupRecords records = readThemeSetup(readSetup(setupPath));
        doc.currentThemeName = records.themeName;
        doc.themeName = records.themeName;
        view.setThemeNameText(records.themeName);
        doc.wm5Theme = false;
        ThemeColors &colours = doc.colours.colors;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (records.colours[slot])
                colours[slot] = *records.colours[slot];
        if (records.baseHueIndex) {
            colours.baseHueIndex = *records.baseHueIndex;
            colours.baseHueColor = paletteColor(ctx.palettes, *records.baseHueIndex);
            if (!coloursOnly)
                doc.wm5Theme = true;
        }
        if (!records.colours[DialogText])
            colours[DialogText] = 0;
        if (!records.colours[MenuText])
            colours[MenuText] = 0;
        if (coloursOnly) {
            result = true;
            return;
        }
        deleteWorkFiles(work, {QStringLiteral(".png")});
        const QString today = work + QStringLiteral("/tdywater.001");
        const QString menu = work + QStringLiteral("/0stwater.002");
        if (!QFile::exists(today)) {
            const QString single = work + QStringLiteral("/0stwater.001");
            if (!QFile::exists(single)) {
                prompt.messageBox(QStringLiteral("Error Opening Theme! No Images!"),
                                  MsgIcon::Critical, errorTitle);
                return;
            }
            QFile::remove(menu);
            if (!QFile::copy(single, today) || !QFile::rename(single, menu))
                throw runtimeError(Err::PathFileAccess, QStringLiteral("LoadTheme"));
        }
        // 12, 13.
        if (!loadMainImage(ctx, view, today)) {
            prompt.messageBox(QStringLiteral("Error loading Main Image!"), MsgIcon::Critical,
                              QStringLiteral("Velmora - ERROR"));
            return;
        }
        if (!loadMenuImage(ctx, menu)) {
            prompt.messageBox(QStringLiteral("Error loading Menu Image!"), MsgIcon::Critical,
                              QStringLiteral("Velmora - ERROR"));
            return;
        }
        deleteAllFiles(work);
        resetMainTransparency(doc.colours);
        resetMenuTransparency(doc.colours);
        result = true;
    });
    return result;
}

QString loadImageFromTheme(ThemeContext &ctx, ThemeLoadView &view)
{
    QString picture;
    trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("LoadImageFromTheme"), [&] {
             // Cancel gives an empty name, which ends the command.
             const QString file =
                 chooseFileToOpenOrEmpty(ctx.prompt, {QStringLiteral("Load Image From Theme"),
                                                      QStringLiteral("tsk files (*.tsk)|*.tsk"),
                                                      ctx.settings.themesFolder, QString(), true});
             if (file.isEmpty())
                 return;
             ctx.settings.themesFolder = folderPart(file);
             const QString work = ctx.paths.tmpFolder;
             if (!QFileInfo(work).isDir() && !QDir().mkpath(work))
                 throw runtimeError(Err::PathNotFound, QStringLiteral("LoadImageFromTheme"));
             deleteAllFiles(work);
             bool extracted = false;
             try {
                 BusyPointer busy(ctx.prompt);
                 CabinetReader cab(file);
                 extracted = cab.extract(QString(), work, QString());
             } catch (const RuntimeError &) {
                 extracted = false;
             }
             if (!extracted) {
                 ctx.prompt.messageBox(QStringLiteral("Error opening Pocket PC Theme (1)"),
                                       MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             const QString today = work + QStringLiteral("/tdywater.001");
             if (!QFile::exists(today)) {
                 ctx.prompt.messageBox(QStringLiteral("Error opening Pocket PC Theme (2)"),
                                       MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             deleteWorkFiles(work, {QStringLiteral(".000"), QStringLiteral(".002")});
             view.closeImageDialogs();
             ctx.doc.imageDialogReady = false;
             picture = today;
         });
    return picture;
}

}  // namespace varno
