// Load and exit of the main window.
#include "ui/frmmain.h"

#include "base/trap.h"
#include "colour/colortable.h"
#include "resources/resources.h"

#include <QDir>
#include <QFileInfo>

namespace varno {

frmMain::frmMain(Module1 &module, Prompt &prompt, ScreenPort &screen, QObject *parent)
    : QObject(parent), m_m(module), m_prompt(prompt), m_screen(screen)
{
}

frmMain::~frmMain() = default;

void frmMain::setScreenDpi(int dpiX, int dpiY)
{
    // Twips per pixel as whole numbers: 15 on a 96-dpi screen.
    m_twipsX = dpiX > 0 ? 1440 / dpiX : 15;
    m_twipsY = dpiY > 0 ? 1440 / dpiY : 15;
}

void frmMain::createWorkingFolders()
{
    for (const QString &name : WorkingFolderNames()) {
        const QString path = m_m.Paths.folder(name);
        const QFileInfo info(path);
        if (info.isDir())
            continue;
        // A plain file of that name is the classic "Path/File access error".
        if (info.exists() || !QDir().mkpath(path))
            throw runtimeError(Err::PathFileAccess, QStringLiteral("frmMain"));
    }
}

bool frmMain::Form_Load()
{
    return trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
                QStringLiteral("Form_Load"), [&] {
                    // 1. Twips per pixel were recorded by setScreenDpi.
                    // 2.
                    m_m.TemplateInf = LoadCustomResource(QStringLiteral("TOPINF"));
                    // 3. The profile of the last run.
                    const QString &type = m_m.Doc.ThemeType;
                    const int index = ProfileIndexFor(type, m_m.Doc.Wm5Theme);
                    if (index >= 0) {
                        const DeviceProfile &p = Profiles()[index];
                        m_view.checkedProfile = index;
                        if (p.pressedButton >= 0)
                            m_view.newThemePressed[p.pressedButton] = true;
                        if (!p.landscape)
                            m_view.landscapeVisible = false;
                        changed();
                    }
                    // 4.
                    createWorkingFolders();
                    // 5.
                    if (m_m.Settings.Paths == QLatin1String("yes"))
                        m_m.Store->ReadFolders(m_m.Settings);
                    else
                        m_m.Store->DefaultFolders(m_m.Settings);
                    // 6.
                    if (m_m.UsePicker) {
                        m_view.useColorPickerChecked = true;
                        changed();
                    }
                    // 7.
                    LoadDefault();
                });
}

void frmMain::Form_Unload()
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
    // 1-3.
    step([&] {
        if (m_m.Store)
            m_m.Store->StoreAtExit(m_m.Settings, m_m.Doc.ThemeType, m_m.Doc.Wm5Theme,
                                   m_m.UsePicker);
    });
    // 4.
    step([&] { m_m.ReleaseRegistry(); });
    // 5. Device window, then the four fitting dialogs in their order.
    step([&] { FileManager.reset(); });
    for (auto &dialog : ImageDialogs)
        step([&] {
            if (dialog)
                dialog->Form_Unload();
            dialog.reset();
        });
}

void frmMain::mnuExit_Click()
{
    Form_Unload();
    emit closeRequested();
}

void frmMain::LoadDefault()
{
    ColourState &c = m_m.Doc.Colours;
    RestoreColors(c);
    SaveColorSnapshot(c);
    ResetMainTransparency(c);
    ResetMenuTransparency(c);
    m_view.sliderTransparency = 0;
    m_view.transparencySwatch = c.Main.Color;
    changed();
    m_screen.LoadDefault();
    showingView(QStringLiteral("MAIN"));
    followScreen();
}

void frmMain::DoScreenMain(const QString &view)
{
    m_screen.DoScreenMain(view);
    showingView(view);
    followScreen();
}

void frmMain::showingView(const QString &view)
{
    m_view.menuShowing = view == QLatin1String("MENU");
    m_view.messageShowing = view == QLatin1String("MESSAGE");
    m_view.messageImpShowing = view == QLatin1String("MESSAGEIMP");
    m_view.navigationShowing = view == QLatin1String("NAVIGATION");
    changed();
}

void frmMain::followScreen()
{
    const std::optional<ScreenState> s = m_screen.state();
    if (!s)
        return;
    m_view.menuShowing = s->MenuShowing;
    m_view.sliderTransparency = s->SliderValue;
    m_view.transparencySwatch = s->SwatchColour;
    changed();
}

void frmMain::setThemeName(const QString &text)
{
    const QString filtered = FilterThemeName(text);
    if (filtered == m_m.Doc.ThemeName)
        return;
    m_m.Doc.ThemeName = filtered;
    m_view.themeNameText = filtered;
    changed();
}

}  // namespace varno
