#include "cli/commands.h"

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "base/remakeablefile.h"
#include "base/runtimeerror.h"
#include "cli/commandargs.h"
#include "cli/devicecommand.h"
#include "cli/publishcommand.h"
#include "cli/consoleprompt.h"
#include "base/signalcleanup.h"
#include "colour/autocolours.h"
#include "colour/colortable.h"
#include "colour/palettes.h"
#include "imagefit/imagefitmodel.h"
#include "package/cabwiz.h"
#include "package/cabinetreader.h"
#include "package/infwriter.h"
#include "package/pngencode.h"
#include "package/savetheme.h"
#include "package/themeloader.h"
#include "package/themethumbnail.h"
#include "package/thumbnailcache.h"
#include "preview/devicescreen.h"
#include "resources/resources.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <functional>
#include <map>

namespace varno {

namespace {

// A theme document with its own scratch folder.
struct Workspace {
    explicit Workspace(QTextStream &err) : prompt(err)
    {
        QDir().mkpath(paths.tmpFolder);
        settings.themesFolder = QDir::currentPath() + QLatin1Char('/');
        doc.colours.colors = defaultThemeColors();
    }
    ThemeContext context() { return {prompt, doc, settings, paths, templateInf, palettes}; }

    QString subject() const { return prompt.subject(); }

    // Removes the scratch folder when the command is interrupted.
    struct SignalGuard {
        explicit SignalGuard(const QString &folder) : path(folder) { removeOnSignal(path); }
        ~SignalGuard() { forgetOnSignal(path); }
        QString path;
    };

    ConsolePrompt prompt;
    QTemporaryDir scratch{QDir::tempPath() + QStringLiteral("/varno-XXXXXX")};
    SignalGuard guard{scratch.path()};
    AppPaths paths = AppPaths::forCommand(scratch.path());
    AppSettings settings;
    ThemeDocument doc;
    Palettes palettes = buildPalettes();
    QByteArray templateInf = customResource(QStringLiteral("TOPINF"));
    ThemeLoadView view;
};

// Text for an XML element or attribute. XML cannot carry control
// characters at all, so they are written as \xNN text.
QString xmlText(const QString &text)
{
    return printable(text).toHtmlEscaped();
}

QString hexColour(Colour c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(c >> 8 & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(c >> 16 & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<Colour> parseColour(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('#')))
        t.remove(0, 1);
    bool ok = false;
    const uint v = t.toUInt(&ok, 16);
    if (!ok || t.size() != 6)
        return std::nullopt;
    return rgb(int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF));
}

QString singleInput(const Args &a, const char *what)
{
    if (a.positional().size() != 1)
        throw UsageError{QStringLiteral("give one %1").arg(QLatin1String(what))};
    return a.positional().first();
}

// How `build` fits its pictures: the fitting dialog's choices as options.
struct FitRequest {
    std::optional<ResizeMode> mode;  // nothing: "Clip Image"
    Justify justify = Justify::Centre;
    std::optional<Colour> background, menuBackground;
};

FitRequest fitRequest(const Args &a)
{
    FitRequest r;
    static const std::map<QString, std::optional<ResizeMode>> modes = {{"clip", std::nullopt},
                                                                       {"xy", ResizeMode::XY},
                                                                       {"x", ResizeMode::FitX},
                                                                       {"y", ResizeMode::FitY}};
    const auto mode = modes.find(a.has("fit") ? a.value("fit").toLower() : QStringLiteral("clip"));
    if (mode == modes.end())
        throw UsageError{QStringLiteral("--fit is one of clip, xy, x, y")};
    r.mode = mode->second;
    static const std::map<QString, Justify> sides = {
        {"start", Justify::Start},   {"top", Justify::Start},     {"left", Justify::Start},
        {"center", Justify::Centre}, {"centre", Justify::Centre}, {"end", Justify::End},
        {"bottom", Justify::End},    {"right", Justify::End}};
    if (a.has("justify")) {
        const auto side = sides.find(a.value("justify").toLower());
        if (side == sides.end() || r.mode == std::nullopt || r.mode == ResizeMode::XY)
            throw UsageError{QStringLiteral(
                "--justify is top, center or bottom with --fit x; left, center or right with "
                "--fit y")};
        r.justify = side->second;
    }
    for (const auto &[option, target] :
         {std::pair{"background", &r.background}, {"menu-background", &r.menuBackground}}) {
        if (!a.has(option))
            continue;
        *target = parseColour(a.value(option));
        if (!*target)
            throw UsageError{QStringLiteral("--%1 takes #RRGGBB").arg(QLatin1String(option))};
    }
    if (!a.has("image") && (a.has("fit") || a.has("background") || a.has("menu-background")))
        throw UsageError{QStringLiteral("--fit and the backgrounds need --image")};
    return r;
}

// The profile's fitting dialog, worked as a user would: the picture, the
// backgrounds, the sizing choices, then OK. Without a menu picture the
// menu follows the main one.
bool fitPictures(Workspace &w, const FitRequest &fit, const QString &image,
                 const QString &menuImage)
{
    ImageFitModel dialog(changeImagesDialogFor(w.doc.themeType), w.prompt, w.doc, w.settings);
    w.doc.imageDialogReady = false;
    if (!dialog.loadImages(image) || w.prompt.failed())
        return false;
    dialog.activate();
    if (fit.background) {
        w.prompt.answerColor(static_cast<uint32_t>(*fit.background));
        dialog.chooseMainBackground();
    }
    if (fit.menuBackground) {
        w.prompt.answerColor(static_cast<uint32_t>(*fit.menuBackground));
        dialog.chooseMenuBackground();
    }
    if (menuImage.isEmpty()) {
        dialog.setUseMainInMenu(true);
    } else {
        w.prompt.answerOpen(menuImage);
        dialog.loadMenuImage();
    }
    if (fit.mode) {
        dialog.setSizing(ImageFitModel::SizeImageToFit);
        dialog.setResizeMode(static_cast<int>(*fit.mode));
        if (fit.justify != Justify::Centre)
            dialog.setJustification(static_cast<int>(fit.justify));
    }
    return !w.prompt.failed() && dialog.accept() && !w.prompt.failed();
}

int build(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {QStringLiteral("wm5")});
    a.allowOnly({"o", "output", "profile", "wm5", "name", "image", "menu-image", "compression",
                 "color", "base-hue", "colors-from", "emit-inf", "fit", "justify", "background",
                 "menu-background"});
    if (!a.positional().isEmpty())
        throw UsageError{QStringLiteral("unexpected %1").arg(a.positional().first())};
    // A theme's name is its file's name: either gives the other.
    const QString given = a.has("o") ? a.value("o") : a.value("output");
    if (given.isEmpty() && !a.has("name"))
        throw UsageError{QStringLiteral("give -o NAME.tsk or --name NAME")};
    if (!given.isEmpty() && !given.endsWith(QLatin1String(".tsk"), Qt::CaseInsensitive))
        throw UsageError{QStringLiteral("-o must name a .tsk file")};
    const QString name = given.isEmpty() ? a.value("name") : QFileInfo(given).fileName().chopped(4);
    if (a.has("name") && a.value("name") != name)
        throw UsageError{QStringLiteral("--name %1 differs from the file's name %2: a theme's "
                                        "name is its file's name")
                             .arg(a.value("name"), name)};
    if (name.isEmpty() || filterThemeName(name) != name)
        throw UsageError{QStringLiteral("the theme's name \"%1\" may hold only letters, digits, "
                                        "spaces, '-', '.' and '_'")
                             .arg(name)};
    const QString output =
        QFileInfo(given.isEmpty() ? name + QStringLiteral(".tsk") : given).absoluteFilePath();
    static const std::map<QString, QString> profiles = {
        {"std", "STD"}, {"qvga", "QVGA"}, {"vga", "VGA"}, {"sq240", "SQ240"}};
    const auto profile = profiles.find(a.required("profile").toLower());
    if (profile == profiles.end())
        throw UsageError{QStringLiteral("--profile is one of std, qvga, vga, sq240")};
    const bool wm5 = a.has("wm5");
    if (wm5 && profile->second == QLatin1String("STD"))
        throw UsageError{QStringLiteral("the standard profile has no WM5 variant")};
    static const std::map<QString, QString> compressions = {
        {"low", CompressionNone}, {"med", CompressionMedium}, {"high", CompressionHigh}};
    const auto compression = compressions.find(
        a.has("compression") ? a.value("compression").toLower() : QStringLiteral("high"));
    if (compression == compressions.end())
        throw UsageError{QStringLiteral("--compression is one of low, med, high")};

    Workspace w(err);
    ThemeContext ctx = w.context();
    if (a.has("colors-from")) {
        w.prompt.setSubject(a.value("colors-from"));
        if (!loadThemeFile(ctx, w.view, a.value("colors-from"), true) || w.prompt.failed())
            return Exit::BadInput;
    }
    w.doc.themeType = profile->second;
    w.doc.wm5Theme = wm5;
    w.doc.themeName = name;
    for (const QString &c : a.values("color")) {
        const int slot = slotByName(c.section(QLatin1Char('='), 0, 0));
        const auto colour = parseColour(c.section(QLatin1Char('='), 1));
        if (slot < 0 || !colour)
            throw UsageError{QStringLiteral("--color %1: give SLOT=#RRGGBB with a slot such as "
                                            "NavBarLeft")
                                 .arg(c)};
        w.doc.colours.colors[slot] = *colour;
    }
    if (a.has("base-hue")) {
        bool ok = false;
        const int hue = a.value("base-hue").toInt(&ok);
        if (!ok || hue < 1 || hue > 512)
            throw UsageError{QStringLiteral("--base-hue is a palette position from 1 to 512")};
        w.doc.colours.colors.baseHueIndex = hue;
        w.doc.colours.colors.baseHueColor = paletteColor(w.palettes, hue);
    }
    const FitRequest fit = fitRequest(a);
    if (a.has("justify") && changeImagesDialogFor(w.doc.themeType) == ImageDialogKind::Standard)
        throw UsageError{QStringLiteral("--justify: the standard profile's pictures are not "
                                        "justified; use --profile qvga, vga or sq240")};
    for (const char *option : {"image", "menu-image"})
        if (a.has(option) && a.value(option).isEmpty())
            throw UsageError{
                QStringLiteral("--%1 needs a picture file").arg(QLatin1String(option))};
    try {
        if (a.has("image")) {
            w.prompt.setSubject(a.value("image"));
            if (!fitPictures(w, fit, a.value("image"),
                             a.has("menu-image") ? a.value("menu-image") : QString()))
                return Exit::BadInput;
        } else {
            // The new-theme picture of the profile, as the editor makes it.
            DeviceScreen(w.prompt, w.doc, w.settings).showDefaultScreen();
        }
        if (a.has("menu-image") && !a.has("image")) {
            w.prompt.setSubject(a.value("menu-image"));
            w.doc.menuPicture = pictureOnCanvas(loadPicture(a.value("menu-image")));
        }
    } catch (const RuntimeError &e) {
        err << "varno: " << printable(w.subject()) << ": " << e.description << "\n";
        return Exit::BadInput;
    }
    w.prompt.setSubject(output);
    if (a.has("emit-inf")) {
        const QString base = QFileInfo(output).completeBaseName();
        const QByteArray inf = buildInfText(w.templateInf, w.doc.themeType, w.doc.wm5Theme,
                                            w.doc.colours.colors, base);
        QSaveFile f(a.value("emit-inf"));
        if (!f.open(QIODevice::WriteOnly) || f.write(inf) != inf.size() || !f.commit()) {
            err << "varno: cannot write " << a.value("emit-inf") << ": " << f.errorString() << "\n";
            return Exit::BadInput;
        }
    }
    if (!saveTheme(ctx, compression->second, output) || w.prompt.failed())
        return Exit::BadInput;
    // Saving makes the ending ".tsk" whatever its letter case.
    out << "Saved " << QDir::toNativeSeparators(output.chopped(4) + QStringLiteral(".tsk")) << "\n";
    return Exit::Ok;
}

QString encodingOf(const QString &path)
{
    QImageReader r(path);
    const QByteArray format = r.format().toUpper();
    return format.isEmpty() ? QStringLiteral("unknown") : QString::fromLatin1(format);
}

// The pictures as the theme stores them, noted while the loader reads them.
struct StoredPictures : ThemeLoadView {
    struct Picture {
        QSize size;
        QString encoding = QStringLiteral("unknown");
    };
    void storedPicture(const QString &role, const QString &file, const Raster &picture) override
    {
        (role == QLatin1String("TODAY") ? today : menu) = {QSize(picture.width(), picture.height()),
                                                           encodingOf(file)};
    }
    Picture today, menu;
};

int info(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {QStringLiteral("json")});
    a.allowOnly({"json"});
    const QString theme = singleInput(a, "theme file");
    Workspace w(err);

    QJsonArray members;
    {
        CabinetReader cab(theme);
        cab.fileFound = [&](const QString &name, const QDateTime &when, int64_t size,
                            const QString &path) {
            members.append(QJsonObject{{"name", path + name},
                                       {"size", qint64(size)},
                                       {"date", when.toString(Qt::ISODate)}});
        };
        try {
            cab.findMembers();
        } catch (const RuntimeError &e) {
            err << "varno: " << printable(theme) << ": " << e.description << "\n";
            return Exit::BadInput;
        }
    }
    ThemeContext ctx = w.context();
    w.prompt.setSubject(theme);
    StoredPictures stored;
    if (!loadThemeFile(ctx, stored, theme, false) || w.prompt.failed())
        return Exit::BadInput;

    const int profile = profileIndexFor(w.doc.themeType, w.doc.wm5Theme);
    const ThemeColors &c = w.doc.colours.colors;
    QJsonObject colours;
    for (int slot = 0; slot < SlotCount; ++slot)
        colours.insert(QLatin1String(slotName(slot)), hexColour(c[slot]));
    const auto picture = [](const StoredPictures::Picture &p) {
        return QJsonObject{
            {"width", p.size.width()}, {"height", p.size.height()}, {"encoding", p.encoding}};
    };
    // Only Windows Mobile 5 themes carry a base hue.
    const bool hasHue = w.doc.wm5Theme;
    QJsonObject o{{"name", w.doc.currentThemeName},
                  {"profile", w.doc.themeType},
                  {"profileCaption",
                   profile >= 0 ? QString::fromLatin1(profiles()[profile].caption) : QString()},
                  {"wm5", w.doc.wm5Theme},
                  {"baseHueIndex", hasHue ? QJsonValue(c.baseHueIndex) : QJsonValue()},
                  {"baseHueColor", hasHue ? QJsonValue(hexColour(c.baseHueColor)) : QJsonValue()},
                  {"today", picture(stored.today)},
                  {"menu", picture(stored.menu)},
                  {"colors", colours},
                  {"members", members}};
    if (a.has("json")) {
        out << QJsonDocument(o).toJson(QJsonDocument::Indented);
        return Exit::Ok;
    }
    out << "Name: " << printable(w.doc.currentThemeName) << "\n"
        << "Profile: " << w.doc.themeType
        << (profile >= 0 ? QStringLiteral(" (%1)").arg(profiles()[profile].caption) : QString())
        << "\n"
        << "Windows Mobile 5: " << (w.doc.wm5Theme ? "yes" : "no") << "\n";
    if (hasHue)
        out << "Base hue: " << c.baseHueIndex << " " << hexColour(c.baseHueColor) << "\n";
    for (const auto &[caption, p] : {std::pair{"Today picture: ", &stored.today},
                                     std::pair{"Start-menu picture: ", &stored.menu}})
        out << caption << p->size.width() << "x" << p->size.height() << " " << p->encoding << "\n";
    out << "Colours:\n";
    for (int slot = 0; slot < SlotCount; ++slot)
        out << "  " << QString::fromLatin1(slotName(slot)).leftJustified(20) << hexColour(c[slot])
            << "\n";
    out << "Members:\n";
    for (const QJsonValue &m : members)
        out << "  " << printable(m[QLatin1String("name")].toString()).leftJustified(16) << " "
            << QString::number(m[QLatin1String("size")].toInteger()).rightJustified(9) << " bytes  "
            << m[QLatin1String("date")].toString() << "\n";
    return Exit::Ok;
}

int list(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {QStringLiteral("xml")});
    a.allowOnly({"xml"});
    const QString cabinet = singleInput(a, "cabinet");
    CabinetReader cab(cabinet);
    QString xml;
    cab.fileFound = [&](const QString &name, const QDateTime &when, int64_t size,
                        const QString &path) {
        if (a.has("xml")) {
            xml += QStringLiteral("<FILE><FULLNAME>") + xmlText(path + name) +
                   QStringLiteral("</FULLNAME><NAME>") + xmlText(name) +
                   QStringLiteral("</NAME><DATE>") +
                   QLocale::system().toString(when, QLocale::ShortFormat) +
                   QStringLiteral("</DATE><SIZE>") + QString::number(size) +
                   QStringLiteral("</SIZE><PATH>") + xmlText(path) +
                   QStringLiteral("</PATH></FILE>\n");
            return;
        }
        out << QString::number(size).rightJustified(10) << "  "
            << when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
            << printable(path + name) << "\n";
    };
    try {
        cab.findMembers();
    } catch (const RuntimeError &e) {
        err << "varno: " << printable(cabinet) << ": " << e.description << "\n";
        return Exit::BadInput;
    }
    if (a.has("xml"))
        out << "<?xml version=\"1.0\"?>\n<CABFILE CABFILENAME=\"" << xmlText(cabinet)
            << "\"><FILES>\n"
            << xml << "</FILES></CABFILE>\n";
    return Exit::Ok;
}

int extract(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {});
    a.allowOnly({"d", "directory"});
    const QString cabinet = singleInput(a, "cabinet");
    CabinetReader cab(cabinet);
    const QString dir = a.has("d")           ? a.value("d")
                        : a.has("directory") ? a.value("directory")
                                             : QStringLiteral(".");
    cab.afterExtract = [&](const QString &path) {
        out << printable(QDir::toNativeSeparators(path)) << "\n";
    };
    try {
        if (cab.extract(QString(), QFileInfo(dir).absoluteFilePath(), QString()))
            return Exit::Ok;
    } catch (const RuntimeError &e) {
        err << "varno: " << printable(cabinet) << ": " << e.description << "\n";
        return Exit::BadInput;
    }
    for (const CabExtractFailure &f : cab.extractFailures())
        err << "varno: " << printable(cabinet) << ": " << printable(f.fileName) << ": "
            << f.description << "\n";
    return Exit::BadInput;
}

int render(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(
        args, {QStringLiteral("wm5"), QStringLiteral("landscape"), QStringLiteral("auto-colors")});
    a.allowOnly({"o", "output", "profile", "wm5", "view", "landscape", "auto-colors", "settings"});
    const QString output = a.has("o") ? a.value("o") : a.required("output");
    static const QStringList views = {"MAIN", "MENU", "MESSAGE", "MESSAGEIMP", "NAVIGATION"};
    const QString view = a.has("view") ? a.value("view").toUpper() : QStringLiteral("MAIN");
    if (!views.contains(view))
        throw UsageError{QStringLiteral("--view is one of MAIN, MENU, MESSAGE, MESSAGEIMP, "
                                        "NAVIGATION")};
    if (a.positional().size() > 1 || (a.positional().isEmpty() == !a.has("profile")))
        throw UsageError{QStringLiteral("give a theme file or --profile, not both")};

    Workspace w(err);
    for (const char *name : {"TodayText", "Headings", "Name1", "Name2", "Name3"}) {
        const QString n = QString::fromLatin1(name);
        const QString v = defaultSetting(n, w.paths);
        if (n == QLatin1String("TodayText"))
            w.settings.todayText = v;
        else if (n == QLatin1String("Headings"))
            w.settings.headings = v;
        else if (n == QLatin1String("Name1"))
            w.settings.name1 = v;
        else if (n == QLatin1String("Name2"))
            w.settings.name2 = v;
        else
            w.settings.name3 = v;
    }
    if (a.has("settings")) {
        static const QStringList modes = {"all", "notm", "notmm", "none"};
        const QString s = a.value("settings");
        if (!s.startsWith(QLatin1String("today=")) || !modes.contains(s.mid(6)))
            throw UsageError{QStringLiteral("--settings is today=all|notm|notmm|none")};
        w.settings.todayText = s.mid(6);
    }
    loadDeviceFonts();
    DeviceScreen screen(w.prompt, w.doc, w.settings);
    if (a.has("profile")) {
        static const std::map<QString, QString> profiles = {
            {"std", "STD"}, {"qvga", "QVGA"}, {"vga", "VGA"}, {"sq240", "SQ240"}};
        const auto profile = profiles.find(a.value("profile").toLower());
        if (profile == profiles.end())
            throw UsageError{QStringLiteral("--profile is one of std, qvga, vga, sq240")};
        w.doc.themeType = profile->second;
        w.doc.wm5Theme = a.has("wm5");
        screen.showDefaultScreen();
    } else {
        ThemeContext ctx = w.context();
        w.prompt.setSubject(a.positional().first());
        if (!loadThemeFile(ctx, w.view, a.positional().first(), false) || w.prompt.failed())
            return Exit::BadInput;
    }
    if (a.has("auto-colors")) {
        AutoColourScene scene{[&](const QString &v) { screen.drawScreen(v); },
                              [&]() -> const Raster & { return screen.portraitScreen; },
                              w.doc.colours,
                              w.doc.wm5Theme,
                              w.settings.headings,
                              screen.menuShowing};
        screen.drawScreen(QStringLiteral("MAIN"));
        autoColorAverage(w.prompt, scene);
    }
    if (const int profile = profileIndexFor(w.doc.themeType, w.doc.wm5Theme);
        a.has("landscape") && (profile < 0 || !profiles()[profile].landscape))
        throw UsageError{QStringLiteral("--landscape: the %1 profile has no landscape screen")
                             .arg(w.doc.themeType)};
    screen.drawScreen(view);
    if (w.prompt.failed())
        return Exit::BadInput;
    try {
        savePng(a.has("landscape") ? screen.landscapeScreen : screen.portraitScreen, output);
    } catch (const RuntimeError &e) {
        err << "varno: cannot write " << output << ": " << e.description << "\n";
        return Exit::BadInput;
    }
    out << "Wrote " << QDir::toNativeSeparators(output) << "\n";
    return Exit::Ok;
}

// Writes a thumbnail as a PNG whole or not at all.
bool writeThumbnail(const QImage &image, const QString &path)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QByteArray png = encodeThumbnailPng(rgb.constBits(), rgb.width(), rgb.height(),
                                              rgb.bytesPerLine(), PixelLayout::Bgrx);
    return !png.isEmpty() && writeRemakeableFile(path, png).ok();
}

int thumbnail(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {});
    a.allowOnly({"s", "size", "d", "directory"});
    const QString sizeText = a.has("s") ? a.value("s") : a.value("size");
    bool ok = true;
    const int size = sizeText.isEmpty() ? 128 : sizeText.toInt(&ok);
    if (!ok || size < 1 || size > 4096)
        throw UsageError{QStringLiteral("-s is a size in pixels from 1 to 4096")};
    const QString dir = a.has("d") ? a.value("d") : a.value("directory");
    QStringList themes = a.positional(), outputs;
    if (dir.isEmpty()) {
        if (themes.size() != 2)
            throw UsageError{QStringLiteral("give one theme file and the picture to write")};
        outputs << themes.takeLast();
    } else {
        if (themes.isEmpty())
            throw UsageError{QStringLiteral("give the theme files")};
        if (!QDir().mkpath(dir))
            throw UsageError{QStringLiteral("cannot make the folder %1").arg(dir)};
        for (const QString &theme : themes)
            outputs << QDir(dir).filePath(QFileInfo(theme).completeBaseName() +
                                          QStringLiteral(".png"));
    }
    // Each theme on its own thread: nothing is shared but the list of what
    // went wrong, filled in by position.
    QStringList problems(themes.size());
    QThreadPool pool;
    for (qsizetype i = 0; i < themes.size(); ++i) {
        pool.start([&, i] {
            const ThemePreview p = readThemePreview(themes[i], QSize(size, size));
            if (p.image.isNull())
                problems[i] = p.problem;
            else if (!writeThumbnail(p.image, outputs[i]))
                problems[i] = QStringLiteral("cannot write %1").arg(outputs[i]);
        });
    }
    pool.waitForDone();
    int failed = 0;
    for (qsizetype i = 0; i < themes.size(); ++i) {
        if (problems[i].isEmpty()) {
            if (!dir.isEmpty())
                out << printable(QDir::toNativeSeparators(outputs[i])) << "\n";
            continue;
        }
        ++failed;
        err << "varno: " << printable(themes[i]) << ": " << problems[i] << "\n";
    }
    return failed ? Exit::BadInput : Exit::Ok;
}

int cabwiz(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {});
    a.allowOnly({"err", "cpu"});
    CabWizOptions o;
    o.script = QFileInfo(singleInput(a, "installation script")).absoluteFilePath();
    o.errorFile = a.value("err");
    o.cpu = a.value("cpu");
    o.compress =
        ddfWantsCompression(AppPaths::forEditor().appFolder + QStringLiteral("/cabwiz.ddf"));
    const CabWizResult r = runCabWiz(o);
    if (!r.ok) {
        for (const QString &p : r.problems)
            err << "varno: " << p << "\n";
        return Exit::BadInput;
    }
    out << "Wrote " << QDir::toNativeSeparators(r.cabinet) << "\n";
    return Exit::Ok;
}

using Command = std::function<int(const QStringList &, QTextStream &, QTextStream &)>;

const std::map<QString, Command> &commands()
{
    static const std::map<QString, Command> table = {{"build", build},
                                                     {"info", info},
                                                     {"list", list},
                                                     {"extract", extract},
                                                     {"cabwiz", cabwiz},
                                                     {"render", render},
                                                     {"thumbnail", thumbnail},
                                                     {"device", deviceCommand},
                                                     {"publish", publishCommand}};
    return table;
}

}  // namespace

bool isCommand(const QString &name)
{
    return commands().count(name) > 0;
}

namespace {

// Each command's usage, in the order --help lists them.
const std::vector<std::pair<QString, QString>> &usages()
{
    static const std::vector<std::pair<QString, QString>> table = {
        {"build",
         "build (-o NAME.tsk | --name NAME) --profile std|qvga|vga|sq240 [--wm5]\n"
         "        [--image FILE [--fit clip|xy|x|y] [--justify top|center|bottom|left|right]\n"
         "         [--background #RRGGBB] [--menu-background #RRGGBB]] [--menu-image FILE]\n"
         "        [--compression low|med|high]\n"
         "        [--color SLOT=#RRGGBB]... [--base-hue N] [--colors-from THEME.tsk]\n"
         "        [--emit-inf FILE]\n"
         "                  Make a theme file. The file's name is the theme's name (what\n"
         "                  the device lists); without -o the theme is NAME.tsk here. The\n"
         "                  picture is fitted as the editor's fitting dialog would: clip\n"
         "                  (unscaled, the default), xy (stretched), x or y (to the width or\n"
         "                  height, then justified; not on the std profile). SLOT is a colour\n"
         "                  slot name such as NavBarLeft.\n"},
        {"info",
         "info THEME.tsk [--json]\n"
         "                  Show a theme's name, profile, colours, pictures and members.\n"},
        {"list", "list THEME.tsk [--xml]\n"
                 "                  List the members of a cabinet.\n"},
        {"extract",
         "extract THEME.tsk [-d DIR]\n"
         "                  Extract every member of a cabinet into DIR (default: here).\n"},
        {"render",
         "render (THEME.tsk | --profile std|qvga|vga|sq240 [--wm5])\n"
         "        [--view MAIN|MENU|MESSAGE|MESSAGEIMP|NAVIGATION] [--landscape]\n"
         "        [--auto-colors] [--settings today=all|notm|notmm|none] -o OUT.png\n"
         "                  Write what the device preview shows (--landscape: qvga and vga).\n"},
        {"cabwiz",
         "cabwiz SCRIPT.inf [/err FILE] [/cpu NAME]\n"
         "                  Compile an installation script and its files into a cabinet.\n"},
        {"thumbnail",
         "thumbnail [-s SIZE] THEME.tsk OUT.png\n"
         "  thumbnail [-s SIZE] -d DIR THEME.tsk...\n"
         "                  Write a theme's Today picture scaled to fit SIZE (default 128),\n"
         "                  or one DIR/NAME.png per theme, all cores at once.\n"},
        {"device", kDeviceUsage},
        {"publish", kPublishUsage},
    };
    return table;
}

}  // namespace

QString commandsHelp()
{
    QString text = QStringLiteral("Commands (no window needed):\n");
    for (const auto &[name, usage] : usages())
        text += QStringLiteral("  ") + usage;
    return text + QStringLiteral("\nExit codes: 0 success, 1 bad input, 2 usage error.\n");
}

int runCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const auto it = args.isEmpty() ? commands().end() : commands().find(args.first());
    if (it == commands().end()) {
        err << "varno: unknown command " << args.value(0) << "\n";
        return Exit::Usage;
    }
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        for (const auto &[name, usage] : usages())
            if (name == args.first())
                out << "Usage: varno " << usage;
        return Exit::Ok;
    }
    try {
        return it->second(args, out, err);
    } catch (const UsageError &e) {
        err << "varno " << args.first() << ": " << e.text << "\n";
        return Exit::Usage;
    } catch (const RuntimeError &e) {
        err << "varno: " << e.description << "\n";
        return Exit::BadInput;
    }
}

}  // namespace varno
