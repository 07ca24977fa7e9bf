// Load and exit of the main window.
#include "ui/editor.h"

#include "base/trap.h"
#include "colour/colortable.h"
#include "resources/resources.h"

#include <QDir>
#include <QFileInfo>

namespace varno {

Editor::Editor(EditorSession &module, Prompt &prompt, ScreenPort &screen, QObject *parent)
    : QObject(parent), m_session(module), m_prompt(prompt), m_screen(screen)
{
}

Editor::~Editor() = default;

void Editor::createWorkingFolders()
{
    for (const QString &name : workingFolderNames()) {
        const QString path = m_session.paths.folder(name);
        const QFileInfo info(path);
        if (info.isDir())
            continue;
        // A plain file of that name is the classic "Path/File access error".
        if (info.exists() || !QDir().mkpath(path))
            throw runtimeError(Err::PathFileAccess, QStringLiteral("frmMain"));
    }
    // The user's own folders in their documents; a failure here only means
    // the file dialogs start elsewhere.
    if (!m_session.paths.documentsFolder.isEmpty())
        for (const char *name : {"tsk", "images", "capture"})
            QDir().mkpath(m_session.paths.defaultFolder(QLatin1String(name)));
}

void Editor::startUp()
{
    m_session.templateInf = customResource(QStringLiteral("TOPINF"));
    // The profile of the last run.
    const QString &type = m_session.doc.themeType;
    const int index = profileIndexFor(type, m_session.doc.wm5Theme);
    if (index >= 0) {
        const DeviceProfile &p = profiles()[index];
        m_view.checkedProfile = index;
        if (p.pressedButton >= 0)
            m_view.newThemePressed[p.pressedButton] = true;
        if (!p.landscape)
            m_view.landscapeVisible = false;
        changed();
    }
    createWorkingFolders();
    if (m_session.settings.paths == QLatin1String("yes"))
        m_session.store->readFolders(m_session.settings);
    else
        m_session.store->defaultFolders(m_session.settings);
    if (m_session.usePicker) {
        m_view.useColorPickerChecked = true;
        changed();
    }
    showDefaultScreen();
}

bool Editor::start()
{
    const bool started = trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
                              QStringLiteral("Form_Load"), [&] { startUp(); });
    markSaved(QString(), QString());
    return started;
}

void Editor::shutDown()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Every step carries on past a failure of the one before.
    const auto step = [](const auto &fn) {
        try {
            fn();
        } catch (...) {
        }
    };
    step([&] {
        if (m_session.store)
            m_session.store->storeAtExit(m_session.settings, m_session.doc.themeType,
                                         m_session.doc.wm5Theme, m_session.usePicker);
    });
    step([&] { m_session.releaseSettingsFile(); });
    // Device window, then the four fitting dialogs in their order.
    step([&] { deviceWindow.reset(); });
    for (auto &dialog : fitModels)
        step([&] {
            if (dialog)
                dialog->unload();
            dialog.reset();
        });
}

void Editor::quit()
{
    shutDown();
    emit closeRequested();
}

void Editor::showDefaultScreen()
{
    ColourState &c = m_session.doc.colours;
    restoreColors(c);
    saveColorSnapshot(c);
    resetMainTransparency(c);
    resetMenuTransparency(c);
    m_view.overlayLevel = 0;
    m_view.overlaySwatch = c.main.color;
    changed();
    m_screen.showDefaultScreen();
    showingView(QStringLiteral("MAIN"));
    followScreen();
}

void Editor::drawScreen(const QString &view)
{
    m_screen.drawScreen(view);
    showingView(view);
    followScreen();
}

void Editor::redrawShownView()
{
    const MainView &v = m_view;
    drawScreen(v.menuShowing         ? QStringLiteral("MENU")
               : v.messageShowing    ? QStringLiteral("MESSAGE")
               : v.messageImpShowing ? QStringLiteral("MESSAGEIMP")
               : v.navigationShowing ? QStringLiteral("NAVIGATION")
                                     : QStringLiteral("MAIN"));
}

void Editor::openSettings()
{
    // Names and Today items are drawn on the screen itself.
    if (showSettings && showSettings())
        redrawShownView();
}

void Editor::changed()
{
    // The loaders set the WM5 flag on the document, not on the window.
    m_view.baseHueEnabled = m_session.doc.wm5Theme;
    m_view.modified = isModified();
    const QString name = m_session.doc.themeName.trimmed();
    m_view.documentName = !m_themeFile.isEmpty() ? QFileInfo(m_themeFile).fileName()
                          : !name.isEmpty()      ? name
                                                 : QStringLiteral("Untitled");
    emit viewChanged();
}

void Editor::showingView(const QString &view)
{
    m_view.menuShowing = view == QLatin1String("MENU");
    m_view.messageShowing = view == QLatin1String("MESSAGE");
    m_view.messageImpShowing = view == QLatin1String("MESSAGEIMP");
    m_view.navigationShowing = view == QLatin1String("NAVIGATION");
    changed();
}

void Editor::followScreen()
{
    const std::optional<ScreenState> s = m_screen.state();
    if (!s)
        return;
    m_view.menuShowing = s->menuShowing;
    m_view.overlayLevel = s->overlayLevel;
    m_view.overlaySwatch = s->overlaySwatch;
    changed();
}

void Editor::setThemeName(const QString &text)
{
    const QString filtered = filterThemeName(text);
    if (filtered == m_session.doc.themeName)
        return;
    m_session.doc.themeName = filtered;
    m_view.themeNameText = filtered;
    changed();
}

}  // namespace varno
