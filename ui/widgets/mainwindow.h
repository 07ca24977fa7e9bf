// The editor's main window: menus, tool buttons, the two previews and the
// colour and capture controls, all a thin view over Editor.
#pragma once

#include "ui/editor.h"
#include "ui/previewscreen.h"
#include "ui/widgets/qtprompt.h"

#include <QMainWindow>

#include <map>

class QAction;
class QButtonGroup;
class QComboBox;
class QMenu;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSlider;
class QToolButton;

namespace varno {

class PreviewWidget;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `module` has been started (EditorSession::Main said ShowWindow).
    explicit MainWindow(EditorSession &module, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Runs the window's load; false when it failed (the window still shows).
    bool load();

    Editor &model() { return *m_form; }
    PreviewWidget *portrait() const { return m_portrait; }
    PreviewWidget *landscape() const { return m_landscape; }
    // A menu item or tool button by its object name, e.g. "mnuSaveThemeHigh".
    QAction *action(const QString &name) const;
    void setZoom(int zoom);
    // A theme opens as "Load Theme" does; anything else goes to the fitting
    // dialog as "Load Image(s)" would take it.
    void openFile(const QString &path);

    // The zoom that suits a screen: about one device pixel per 1/96 inch.
    static int zoomForDpi(double logicalDpi);
    // `zoom`, or less when the window would not fit a screen of that size.
    static int zoomForScreen(int zoom, QSize available);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption,
                        const std::function<void()> &run);
    void buildMenus();
    void buildToolBar();
    QWidget *buildControls();
    void buildStatusBar();
    void sync();
    void syncPreviews();
    void showHover(bool landscape, int x, int y);
    // Grows or shrinks the window to show the previews whole, never past
    // the screen's free area.
    void fitToScreen();
    void restoreWindowFromSettings();
    void storeGeometryInSettings();
    void fillRecentMenu();

    EditorSession &m_session;
    QtPrompt m_prompt;
    PreviewScreen m_screen;
    std::unique_ptr<Editor> m_form;
    std::map<QString, QAction *> m_actions;
    std::array<QAction *, ProfileCount> m_profileActions{};
    std::array<QAction *, 3> m_newThemeButtons{};
    QAction *m_pickerAction = nullptr;
    QAction *m_pickerButton = nullptr;
    PreviewWidget *m_portrait = nullptr;
    PreviewWidget *m_landscape = nullptr;
    QLineEdit *m_themeName = nullptr;
    QComboBox *m_colours = nullptr;
    QToolButton *m_swatch = nullptr;
    QSlider *m_slider = nullptr;
    QButtonGroup *m_captureKinds = nullptr;
    QLabel *m_pointerLabel = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QScrollArea *m_scroll = nullptr;
    int m_defaultZoom = 1;
    bool m_syncing = false;
    QMenu *m_recentMenu = nullptr;
    bool m_changesSettled = false;  // the question about unsaved work was answered
};

}  // namespace varno
