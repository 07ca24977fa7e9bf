#include "package/themeloader.h"

#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "base/codepage.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/colortable.h"
#include "package/cabinetreader.h"
#include "package/cesetup.h"
#include "package/infwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <optional>

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

// The members a theme is made of. A theme has no sub-folders, and a member
// in one could put a folder where one of these files belongs.
bool isThemeMember(const QString &name)
{
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')))
        return false;
    if (name.endsWith(QLatin1String(".000"), Qt::CaseInsensitive))
        return true;
    for (const char *member : {"tdywater.001", "0stwater.001", "0stwater.002"})
        if (name.compare(QLatin1String(member), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A theme's members unpacked into a private folder under the working folder,
// removed with it: whatever a theme holds cannot outlive its load.
class UnpackedTheme {
public:
    UnpackedTheme(const QString &workFolder, const QString &theme, const QString &procedure)
    {
        if (!QFileInfo(workFolder).isDir() && !QDir().mkpath(workFolder))
            throw runtimeError(Err::PathNotFound, procedure);
        m_dir.emplace(workFolder + QStringLiteral("/theme-XXXXXX"));
        if (!m_dir->isValid())
            throw runtimeError(Err::PathFileAccess, procedure);
        CabinetReader cab(theme);
        if (!cab.extractIf(isThemeMember, m_dir->path())) {
            const CabExtractFailure &f = cab.extractFailures().first();
            throw RuntimeError(
                f.number, procedure,
                QStringLiteral("%1 cannot be read: %2").arg(f.fileName, f.description));
        }
    }

    // The path of a member, whatever the letter case of its name; "" when
    // the theme has none.
    QString member(const QString &name) const
    {
        for (const QString &file : QDir(m_dir->path()).entryList(QDir::Files))
            if (file.compare(name, Qt::CaseInsensitive) == 0)
                return m_dir->filePath(file);
        return QString();
    }
    QString setupFile() const
    {
        for (const QString &file : QDir(m_dir->path()).entryList(QDir::Files, QDir::Name))
            if (file.endsWith(QLatin1String(".000"), Qt::CaseInsensitive))
                return m_dir->filePath(file);
        return QString();
    }

private:
    std::optional<QTemporaryDir> m_dir;
};

QByteArray readSetup(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw runtimeError(Err::PathFileAccess, QStringLiteral("LoadTheme"));
    if (f.size() > MaxSetupFileBytes)
        throw runtimeError(Err::Overflow, QStringLiteral("LoadTheme"));
    return f.readAll();
}

// The Today picture of a theme, or an empty raster after the message.
Raster readMainPicture(Prompt &prompt, const QString &path)
{
    try {
        return loadPicture(path);
    } catch (const RuntimeError &) {
        prompt.messageBox(QStringLiteral("Error Loading Main Image!"), MsgIcon::Critical,
                          stringResource(Str::Error));
        return Raster();
    }
}

}  // namespace

Raster pictureOnCanvas(Raster picture)
{
    picture.convertTo24();
    Raster canvas(640, 588);
    canvas.copyRect(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return canvas;
}

namespace {

// The records as the setup file's own structure holds them.
ThemeSetupRecords recordsOf(const CeSetup &setup)
{
    ThemeSetupRecords r;
    r.themeName = fromCp1252(setup.appName);
    for (const CeSetup::Value &v : setup.values) {
        const int slot = slotOfName(v.name);
        if (slot >= 0 && v.data.size() >= 3) {
            const auto byte = [&](int i) { return static_cast<uint8_t>(v.data[i]); };
            r.colours[slot] = rgb(byte(0), byte(1), byte(2));
        } else if (v.name == "BaseHue" && v.data.size() >= 4) {
            r.baseHueIndex = qFromLittleEndian<int32_t>(v.data.constData());
        }
    }
    return r;
}

}  // namespace

ThemeSetupRecords readThemeSetup(const QByteArray &b)
{
    if (b.size() > MaxSetupFileBytes)
        throw runtimeError(Err::Overflow, QStringLiteral("LoadTheme"));
    // The byte scan below can take a colour's own bytes for a record, so it
    // serves only setup files whose structure does not hold together.
    if (const Result<CeSetup> parsed = parseCeSetup(b); parsed.ok())
        return recordsOf(parsed.value());
    ThemeSetupRecords r;
    const int zero = b.indexOf('\0', 100);
    if (b.size() > 100)
        r.themeName = fromCp1252(b.mid(100, zero < 0 ? -1 : zero - 100));
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
    const QString errorTitle = stringResource(Str::Error);
    bool result = false;
    trapLong(prompt, QStringLiteral("LoadTheme"), [&] {
        ctx.settings.themesFolder = folderPart(file);
        std::optional<UnpackedTheme> theme;
        {
            BusyPointer busy(prompt);
            theme.emplace(ctx.paths.tmpFolder, file, QStringLiteral("LoadTheme"));
        }
        const QString setupPath = theme->setupFile();
        if (setupPath.isEmpty()) {
            prompt.messageBox(QStringLiteral("Unable to locate Theme Data File!"),
                              MsgIcon::Critical, errorTitle);
            return;
        }
        // Everything is read into a copy; the user's document changes only
        // once the whole theme has been read.
        ThemeDocument next = ctx.doc;
        const ThemeSetupRecords records = readThemeSetup(readSetup(setupPath));
        next.currentThemeName = records.themeName;
        next.themeName = records.themeName;
        next.wm5Theme = false;
        ThemeColors &colours = next.colours.colors;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (records.colours[slot])
                colours[slot] = *records.colours[slot];
        if (records.baseHueIndex) {
            colours.baseHueIndex = *records.baseHueIndex;
            colours.baseHueColor = paletteColor(ctx.palettes, *records.baseHueIndex);
            if (!coloursOnly)
                next.wm5Theme = true;
        }
        if (!records.colours[DialogText])
            colours[DialogText] = 0;
        if (!records.colours[MenuText])
            colours[MenuText] = 0;
        if (coloursOnly) {
            ctx.doc = std::move(next);
            view.showOverlayLevel(0);
            view.setThemeNameText(records.themeName);
            result = true;
            return;
        }

        QString today = theme->member(QStringLiteral("tdywater.001"));
        QString menu = theme->member(QStringLiteral("0stwater.002"));
        if (today.isEmpty()) {
            // A theme with one picture uses it for both.
            today = menu = theme->member(QStringLiteral("0stwater.001"));
            if (today.isEmpty()) {
                prompt.messageBox(QStringLiteral("Error Opening Theme! No Images!"),
                                  MsgIcon::Critical, errorTitle);
                return;
            }
        }
        const Raster todayPicture = readMainPicture(prompt, today);
        if (todayPicture.isNull()) {
            prompt.messageBox(QStringLiteral("Error loading Main Image!"), MsgIcon::Critical,
                              QStringLiteral("Velmora - ERROR"));
            return;
        }
        Raster menuPicture;
        try {
            if (!menu.isEmpty())
                menuPicture = loadPicture(menu);
        } catch (const RuntimeError &) {
        }
        if (menuPicture.isNull()) {
            prompt.messageBox(QStringLiteral("Error loading Menu Image!"), MsgIcon::Critical,
                              QStringLiteral("Velmora - ERROR"));
            return;
        }
        view.storedPicture(QStringLiteral("TODAY"), today, todayPicture);
        view.storedPicture(QStringLiteral("MENU"), menu, menuPicture);
        const InferredProfile profile =
            inferProfile(todayPicture.width(), todayPicture.height(), next.wm5Theme);
        next.themeType = profile.themeType;
        next.todayPicture = pictureOnCanvas(todayPicture);
        next.menuPicture = pictureOnCanvas(menuPicture);
        resetMainTransparency(next.colours);
        resetMenuTransparency(next.colours);

        ctx.doc = std::move(next);
        view.showOverlayLevel(0);
        view.setThemeNameText(records.themeName);
        view.setLandscapeVisible(todayPicture.width() >= 241);
        view.showProfile(profile.checked, profile.pressed);
        view.drawScreen(QStringLiteral("MAIN"));
        view.loadedTheme(file);
        result = true;
    });
    return result;
}

Raster loadImageFromTheme(ThemeContext &ctx, ThemeLoadView &view)
{
    Raster picture;
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
             std::optional<UnpackedTheme> theme;
             try {
                 BusyPointer busy(ctx.prompt);
                 theme.emplace(ctx.paths.tmpFolder, file, QStringLiteral("LoadImageFromTheme"));
             } catch (const RuntimeError &) {
                 ctx.prompt.messageBox(QStringLiteral("Error opening Pocket PC Theme (1)"),
                                       MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             const QString today = theme->member(QStringLiteral("tdywater.001"));
             if (today.isEmpty()) {
                 ctx.prompt.messageBox(QStringLiteral("Error opening Pocket PC Theme (2)"),
                                       MsgIcon::Critical, QStringLiteral("Error"));
                 return;
             }
             Raster loaded = loadPicture(today);
             view.closeImageDialogs();
             ctx.doc.imageDialogReady = false;
             picture = std::move(loaded);
         });
    return picture;
}

}  // namespace varno
