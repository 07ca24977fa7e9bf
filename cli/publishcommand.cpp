#include "cli/publishcommand.h"

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/raster/raster.h"
#include "cli/commandargs.h"
#include "cli/commands.h"
#include "cli/consoleprompt.h"
#include "colour/colortable.h"
#include "colour/palettes.h"
#include "package/themeloader.h"
#include "preview/capture.h"
#include "resources/resources.h"
#include "web/publishform.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>

namespace varno {

const char *const kPublishUsage =
    "publish categories [LOGIN] [--site URL] [--ca-file PEM]\n"
    "  publish signup --handle H --email E [--site URL] [--ca-file PEM]\n"
    "  publish upload THEME.tsk --category NAME --platform std|qvga|vga|sq240 [--wm5]\n"
    "        --name N --desc D [--comment C] [LOGIN] [--site URL] [--ca-file PEM]\n"
    "                  Work with the theme site: list its categories, create an\n"
    "                  account, or send a theme with its Today-screen preview. LOGIN\n"
    "                  is --login NAME --password-file FILE (its first line); without\n"
    "                  it, the login saved in the editor. --site sends every request\n"
    "                  to another server; --ca-file trusts its certificates.\n";

namespace {

// Runs the event loop until the form's request ends.
void waitForReply(PublishForm &form)
{
    QEventLoop loop;
    QObject::connect(&form, &PublishForm::requestFinished, &loop, &QEventLoop::quit);
    if (form.requestRunning())
        loop.exec();
}

// The theme loaded and its preview captured, as the editor would.
bool loadAndCapture(ConsolePrompt &prompt, const AppPaths &paths, const QString &theme,
                    const QString &captureName)
{
    AppSettings settings;
    for (const auto &[name, field] : {std::pair{"TodayText", &AppSettings::todayText},
                                      {"Headings", &AppSettings::headings},
                                      {"Name1", &AppSettings::name1},
                                      {"Name2", &AppSettings::name2},
                                      {"Name3", &AppSettings::name3}})
        settings.*field = defaultSetting(QString::fromLatin1(name), paths);
    ThemeDocument doc;
    doc.colours.colors = defaultThemeColors();
    const Palettes palettes = buildPalettes();
    const QByteArray templateInf = customResource(QStringLiteral("TOPINF"));
    ThemeContext ctx{prompt, doc, settings, paths, templateInf, palettes};
    ThemeLoadView view;
    prompt.setSubject(theme);
    const bool loaded = loadThemeFile(ctx, view, theme, false) && !prompt.failed();
    prompt.setSubject(QString());
    if (!loaded)
        return false;
    loadDeviceFonts();
    doc.currentThemeName = captureName;
    DeviceScreen screen(prompt, doc, settings);
    CaptureContext capture{prompt, screen, doc, settings, paths};
    return !screenCaptureForTransfer(capture).isEmpty();
}

// The login of the options, else the one the editor saved. False (with
// the reason said) when the password file cannot be read.
bool takeLogin(const Args &a, PublishForm &form, const AppSettings &saved, QTextStream &err)
{
    if (a.has("login") != a.has("password-file"))
        throw UsageError{QStringLiteral("--login and --password-file go together")};
    if (!a.has("login")) {
        form.login = saved.siteUser;
        form.password =
            saved.siteUser.isEmpty() ? QString() : form.passwords().read(saved.siteUser);
        if (form.login.isEmpty() || form.password.isEmpty())
            throw UsageError{QStringLiteral("no saved login: give --login and --password-file")};
        return true;
    }
    QFile file(a.value("password-file"));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "varno: cannot read " << printable(a.value("password-file")) << ": "
            << file.errorString() << "\n";
        return false;
    }
    form.login = a.value("login");
    form.password =
        QString::fromUtf8(file.readLine(4096)).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    return true;
}

int categories(PublishForm &form, ConsolePrompt &prompt, QTextStream &out)
{
    form.fetchCategories();
    waitForReply(form);
    if (prompt.failed())
        return Exit::BadInput;
    for (const QString &name : form.categories)
        out << printable(name) << "\n";
    return Exit::Ok;
}

int signup(const Args &a, PublishForm &form, ConsolePrompt &prompt, QTextStream &err)
{
    form.handle = a.required("handle");
    form.email = a.required("email");
    form.join();
    waitForReply(form);
    if (prompt.failed())
        return Exit::BadInput;
    if (form.lastReply != QLatin1String("ERROR|OK")) {
        // The window says nothing to a reply it does not know; a command
        // has to say something.
        err << "varno: the site answered: " << printable(form.lastReply.left(200)) << "\n";
        return Exit::BadInput;
    }
    return Exit::Ok;
}

int upload(const Args &a, PublishForm &form, ConsolePrompt &prompt, QTextStream &err)
{
    if (a.positional().size() != 2)
        throw UsageError{QStringLiteral("give one theme file")};
    static const std::map<QString, int> platforms = {
        {"std", 0}, {"qvga", 1}, {"vga", 2}, {"sq240", 3}};
    const auto platform = platforms.find(a.required("platform").toLower());
    if (platform == platforms.end())
        throw UsageError{QStringLiteral("--platform is one of std, qvga, vga, sq240")};
    if (a.has("wm5") && platform->second == 0)
        throw UsageError{QStringLiteral("the standard platform has no WM5 variant")};
    const QString theme = QFileInfo(a.positional()[1]).absoluteFilePath();
    if (!QFileInfo(theme).isFile()) {
        err << "varno: " << printable(a.positional()[1]) << ": no such file\n";
        return Exit::BadInput;
    }
    form.themePath = theme;
    form.themeName = a.required("name");
    form.description = a.required("desc");
    form.comment = a.value("comment");
    form.platform = platform->second + (a.has("wm5") ? 3 : 0);
    form.fetchCategories();
    waitForReply(form);
    if (prompt.failed())
        return Exit::BadInput;
    form.category = int(form.categories.indexOf(a.required("category")));
    form.send();
    waitForReply(form);
    return prompt.failed() || form.lastReply != QLatin1String("ERROR|OK") ? Exit::BadInput
                                                                          : Exit::Ok;
}

}  // namespace

int publishCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const Args a(args, {QStringLiteral("wm5")});
    const QString what = a.positional().value(0);
    QStringList allowed = {"site", "ca-file", "login", "password-file"};
    if (what == QLatin1String("signup"))
        allowed = {"site", "ca-file", "handle", "email"};
    else if (what == QLatin1String("upload"))
        allowed << QStringList{"category", "platform", "wm5", "name", "desc", "comment"};
    else if (what != QLatin1String("categories"))
        throw UsageError{QStringLiteral("give categories, signup or upload")};
    a.allowOnly(allowed);
    if (what != QLatin1String("upload") && a.positional().size() > 1)
        throw UsageError{QStringLiteral("unexpected %1").arg(a.positional()[1])};

    // The editor's settings give the login and the site; the work (the
    // preview capture) happens in a private scratch folder.
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/varno-XXXXXX"));
    const AppPaths paths = AppPaths::forCommand(scratch.path());
    SettingsFile file(AppPaths::forEditor().settingsFile);
    AppSettings saved;
    saved.siteUser = file.readString(settingsSectionName(), QStringLiteral("GLNTUSER"));
    ConsolePrompt prompt(err);
    EditorHooks hooks;
    hooks.loadAndCapture = [&](const QString &theme, const QString &captureName) {
        return loadAndCapture(prompt, paths, theme, captureName);
    };
    PublishForm form(prompt, saved, file, paths, hooks);
    if (a.has("site"))
        form.site = {QUrl(a.value("site")), QUrl(a.value("site"))};
    if (a.has("ca-file")) {
        const QList<QSslCertificate> trusted = QSslCertificate::fromPath(a.value("ca-file"));
        if (trusted.isEmpty())
            throw UsageError{
                QStringLiteral("--ca-file %1 holds no certificate").arg(a.value("ca-file"))};
        form.client().addTrustedCertificates(trusted);
    }
    if (what == QLatin1String("signup"))
        return signup(a, form, prompt, err);
    if (!takeLogin(a, form, saved, err))
        return Exit::BadInput;
    return what == QLatin1String("upload") ? upload(a, form, prompt, err)
                                           : categories(form, prompt, out);
}

}  // namespace varno
