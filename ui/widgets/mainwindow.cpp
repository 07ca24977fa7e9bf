// The main window's widgets. Every command goes to Editor; after each one
// the window re-reads what the model says it shows.
#include "ui/widgets/mainwindow.h"

#include "base/messages.h"
#include "colour/colortable.h"
#include "ui/smalldialogs.h"
#include "package/savetheme.h"
#include "ui/widgets/devicetransferdialog.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/imagefitdialog.h"
#include "ui/widgets/publishdialog.h"
#include "ui/widgets/previewwidget.h"
#include "ui/widgets/themebrowserdialog.h"

#include <QActionGroup>
#include <QPainter>
#include <QSet>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace varno {

namespace {

const QString WindowKey = QStringLiteral("\\Window");

// The previews scroll when the window is smaller than they are, yet the
// window still asks for their whole size, so it can grow to show them.
class PreviewScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

QString colourName(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff).name();
}

// Gives every entry of a menu a key of its own (Alt+letter): the first
// letter of a word where it is free, else any free letter or digit.
void assignMnemonics(const QList<QAction *> &actions)
{
    QSet<QChar> used;
    for (const QAction *a : actions)
        if (const qsizetype at = a->text().indexOf(u'&'); at >= 0 && at + 1 < a->text().size())
            used.insert(a->text()[at + 1].toLower());
    for (QAction *a : actions) {
        const QString text = a->text();
        if (a->isSeparator() || text.contains(u'&'))
            continue;
        const auto free = [&](qsizetype i) {
            return text[i].isLetterOrNumber() && !used.contains(text[i].toLower());
        };
        qsizetype at = -1;
        for (qsizetype i = 0; i < text.size() && at < 0; ++i)
            if ((i == 0 || text[i - 1] == u' ') && free(i))
                at = i;
        for (qsizetype i = 0; i < text.size() && at < 0; ++i)
            if (free(i))
                at = i;
        if (at < 0)
            continue;
        used.insert(text[at].toLower());
        a->setText(text.left(at) + u'&' + text.mid(at));
    }
}

// The program's icon, drawn: a handheld showing a Today screen being
// coloured, as the desktop entry's picture shows it.
QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 128.0, size / 128.0);
        QLinearGradient body(24, 6, 104, 122);
        body.setColorAt(0, QColor(0x5a6470));
        body.setColorAt(1, QColor(0x2b3138));
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawRoundedRect(QRectF(24, 6, 80, 116), 12, 12);
        QLinearGradient screen(0, 16, 0, 100);
        screen.setColorAt(0, QColor(0x9cc3f5));
        screen.setColorAt(1, QColor(0x1d4fb8));
        p.fillRect(QRectF(32, 16, 64, 84), screen);
        p.fillRect(QRectF(32, 16, 64, 10), QColor(0x0b3fb0));
        p.fillRect(QRectF(36, 32, 44, 3), QColor(255, 255, 255, 230));
        p.fillRect(QRectF(36, 40, 52, 2), QColor(0x10204a));
        p.fillRect(QRectF(36, 46, 36, 3), QColor(255, 255, 255, 230));
        p.fillRect(QRectF(36, 54, 52, 2), QColor(0x10204a));
        p.fillRect(QRectF(32, 92, 64, 8), QColor(0x56a8ee));
        p.setPen(QPen(QColor(0x7b8591), 2));
        p.setBrush(QColor(0x1f242a));
        p.drawEllipse(QPointF(64, 111), 6, 6);
        p.setPen(QPen(QColor(0x6b4e00), 2));
        p.setBrush(QColor(0xf4c542));
        p.drawPolygon(QPolygonF({{86, 70}, {108, 48}, {116, 56}, {94, 78}}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe85d3f));
        p.drawPolygon(QPolygonF({{86, 70}, {94, 78}, {82, 82}}));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

MainWindow::MainWindow(EditorSession &module, QWidget *parent)
    : QMainWindow(parent), m_session(module), m_prompt(this),
      m_screen(m_prompt, module.doc, module.settings),
      m_form(std::make_unique<Editor>(module, m_prompt, m_screen))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Varno"));
    QApplication::setWindowIcon(programIcon());
    setAcceptDrops(true);
    m_form->askCompression = [this] { return askCompression(this); };
    m_form->runFitDialog = [this](ImageFitModel &dialog) {
        return showImageFitDialog(this, dialog);
    };
    m_form->showSettings = [this] {
        return showSettingsDialog(this, m_prompt, m_session.settings, *m_session.store);
    };
    m_form->showHuePicker = [this] {
        showHuesDialog(this, m_session.palette, m_session.doc.colours.colors);
    };
    buildMenus();
    buildToolBar();
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    m_scroll = new PreviewScroll(central);
    m_scroll->setObjectName(QStringLiteral("previews"));
    m_scroll->setWidgetResizable(true);
    auto *previews = new QWidget(m_scroll);
    auto *previewRow = new QHBoxLayout(previews);
    m_portrait = new PreviewWidget(previews);
    m_portrait->setObjectName(QStringLiteral("LEADTheme"));
    m_landscape = new PreviewWidget(previews);
    m_landscape->setObjectName(QStringLiteral("LEADLandscape"));
    previewRow->addWidget(m_portrait, 0, Qt::AlignTop);
    previewRow->addWidget(m_landscape, 0, Qt::AlignTop);
    previewRow->addStretch(1);
    m_scroll->setWidget(previews);
    row->addWidget(m_scroll, 1);
    row->addWidget(buildControls(), 0, Qt::AlignTop);
    setCentralWidget(central);
    buildStatusBar();

    connect(m_portrait, &PreviewWidget::released, this,
            [this](int x, int y) { m_form->releaseOnPortrait(x, y); });
    connect(m_landscape, &PreviewWidget::released, this,
            [this](int x, int y) { m_form->releaseOnLandscape(x, y); });
    connect(m_portrait, &PreviewWidget::hovered, this,
            [this](int x, int y) { showHover(false, x, y); });
    connect(m_landscape, &PreviewWidget::hovered, this,
            [this](int x, int y) { showHover(true, x, y); });
    for (PreviewWidget *p : {m_portrait, m_landscape})
        connect(p, &PreviewWidget::left, this, [this] { m_pointerLabel->clear(); });
    connect(m_form.get(), &Editor::viewChanged, this, &MainWindow::sync);
    connect(m_form.get(), &Editor::closeRequested, this, &QWidget::close);
    connect(m_form.get(), &Editor::statusMessage, this,
            [this](const QString &text) { statusBar()->showMessage(text, 6000); });

    const QScreen *screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInch()) : 96;
    m_defaultZoom =
        zoomForScreen(zoomForDpi(dpi), screen ? screen->availableGeometry().size() : QSize());
    setZoom(m_defaultZoom);
}

int MainWindow::zoomForScreen(int zoom, QSize available)
{
    // Both previews side by side, the controls beside them, and room for the
    // menus, tool bar and status bar; a smaller zoom beats a window that
    // does not fit.
    const auto fits = [&](int z) {
        return (240 + 320) * z + 380 <= available.width() && 320 * z + 180 <= available.height();
    };
    while (zoom > 1 && available.isValid() && !fits(zoom))
        --zoom;
    return zoom;
}

MainWindow::~MainWindow()
{
    m_form->shutDown();
}

int MainWindow::zoomForDpi(double logicalDpi)
{
    // Device screens are small; twice their size is the least that reads
    // comfortably on an ordinary desktop screen.
    return std::clamp(static_cast<int>(std::lround(2 * logicalDpi / 96.0)), 1, 4);
}

bool MainWindow::load()
{
    const bool ok = m_form->start();
    restoreWindowFromSettings();
    sync();
    return ok;
}

QAction *MainWindow::action(const QString &name) const
{
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, const QString &caption,
                                const std::function<void()> &run)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, [run] { run(); });
    if (menu)
        menu->addAction(a);
    m_actions[a->objectName()] = a;
    return a;
}

void MainWindow::buildMenus()
{
    Editor &f = *m_form;

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, "actSave", QStringLiteral("Save"), [&f] {
        f.saveToThemeFile();
    })->setShortcut(QKeySequence::Save);
    addCommand(file, "actSaveAs", QStringLiteral("Save As..."), [&f] {
        f.saveThemeAs();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_recentMenu = file->addMenu(QStringLiteral("Open Recent"));
    m_recentMenu->setObjectName(QStringLiteral("mnuOpenRecent"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    QAction *ask = addCommand(file, "actAskToSave", QStringLiteral("Ask to Save Changes"), [this] {
        m_form->setAsksToSaveChanges(action(QStringLiteral("actAskToSave"))->isChecked());
    });
    ask->setCheckable(true);
    ask->setChecked(f.asksToSaveChanges());
    file->addSeparator();
    addCommand(file, "mnuSettings", QStringLiteral("Settings"), [&f] { f.openSettings(); });
    addCommand(file, "mnuTransfer", QStringLiteral("Transfer to Device"), [this] {
        Editor &editor = *m_form;
        const CurrentTheme current{
            [&editor] { return editor.module().doc.themeName; },
            [&editor](const QString &name) { editor.setThemeName(name); },
            [&editor](const QString &path) { return editor.saveTheme(CompressionHigh, path); }};
        showDeviceTransfer(this, m_prompt, *m_session.registry, m_session.paths,
                           m_session.settings.themesFolder, current);
    });
    addCommand(file, "mnuUpload", QStringLiteral("Transfer to Glintory"), [this] {
        Editor &editor = *m_form;
        EditorHooks hooks;
        hooks.themeName = [&editor] { return editor.module().doc.themeName; };
        hooks.setThemeName = [&editor](const QString &name) { editor.setThemeName(name); };
        hooks.saveThemeHigh = [&editor](const QString &path) {
            return editor.saveTheme(CompressionHigh, path);
        };
        hooks.loadAndCapture = [&editor](const QString &path, const QString &name) {
            return editor.openAndCaptureForUpload(path, name);
        };
        showPublishWindow(this, m_prompt, m_session.settings, *m_session.registry, m_session.paths,
                          hooks);
    });
    file->addSeparator();
    QAction *exit = addCommand(file, "mnuExit", QStringLiteral("Exit"), [this] {
        if (!m_form->askToKeepChanges())
            return;
        m_changesSettled = true;
        // The settings store closes with the model's exit.
        storeGeometryInSettings();
        m_form->quit();
    });
    exit->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *undo = addCommand(edit, "actUndoColours", QStringLiteral("Undo Color Changes"),
                               [&f] { f.undoColours(); });
    undo->setShortcut(QKeySequence::Undo);
    undo->setToolTip(
        QStringLiteral("Back to the colors as they were before the last color dialog"));
    undo->setStatusTip(undo->toolTip());

    QMenu *theme = menuBar()->addMenu(QStringLiteral("&Theme"));
    for (int i = 0; i < ProfileCount; ++i) {
        const DeviceProfile &p = profiles()[static_cast<size_t>(i)];
        QAction *a =
            addCommand(theme, p.command, QLatin1String(p.caption), [&f, i] { f.newTheme(i); });
        a->setCheckable(true);
        m_profileActions[static_cast<size_t>(i)] = a;
    }
    // A new theme of the profile in use.
    QAction *newTheme = addCommand(nullptr, "actNewTheme", QStringLiteral("New Theme"), [this] {
        m_form->newTheme(std::max(0, m_form->view().checkedProfile));
    });
    newTheme->setShortcut(QKeySequence::New);
    addAction(newTheme);
    theme->addSeparator();
    QAction *open =
        addCommand(theme, "mnuLoadTheme", QStringLiteral("Load Theme"), [&f] { f.openTheme(); });
    open->setShortcut(QKeySequence::Open);
    theme->addSeparator();
    addCommand(theme, "mnuSaveThemeLow", QStringLiteral("Save Theme (Low Comp)"),
               [&f] { f.saveUncompressed(); });
    addCommand(theme, "mnuSaveThemeMed", QStringLiteral("Save Theme (Med Comp)"),
               [&f] { f.saveMediumCompression(); });
    addCommand(theme, "mnuSaveThemeHigh", QStringLiteral("Save Theme (High Comp)"),
               [&f] { f.saveHighCompression(); });
    theme->addSeparator();
    addCommand(theme, "mnuManageThemes", QStringLiteral("Manage Themes"), [this] {
        const QString folder = m_session.settings.themesFolder;
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
            m_prompt.messageBox(QStringLiteral("Unable to open the themes folder %1: no file "
                                               "manager is set up to open folders.")
                                    .arg(QDir::toNativeSeparators(folder)),
                                MsgIcon::Exclamation, stringResource(Str::Notice));
    });
    addCommand(theme, "mnuBrowseThemes", QStringLiteral("Browse Themes"), [this] {
        const QString chosen =
            showThemeBrowser(this, m_prompt, m_session.settings, m_session.paths);
        if (!chosen.isEmpty())
            m_form->openGivenFile(chosen);
    });

    QMenu *image = menuBar()->addMenu(QStringLiteral("&Image"));
    addCommand(image, "mnuLoadImages", QStringLiteral("Load Image(s)"), [&f] { f.loadImages(); });
    addCommand(image, "mnuLoadImageFromTheme", QStringLiteral("Load Image From Theme"),
               [&f] { f.loadImageFromTheme(); });
    addCommand(image, "mnuChangeImages", QStringLiteral("Change Current Image(s)"),
               [&f] { f.changeImages(); });
    image->addSeparator();
    addCommand(image, "mnuSaveMainImage", QStringLiteral("Save Main Image"),
               [&f] { f.saveTodayPicture(); });
    addCommand(image, "mnuSaveMenuImage", QStringLiteral("Save Menu Image"),
               [&f] { f.saveMenuPicture(); });
    image->addSeparator();
    addCommand(image, "mnuScreenCaptureMain", QStringLiteral("Screen Capture Main"),
               [&f] { f.captureToday(); });
    addCommand(image, "mnuScreenCaptureThumbnail", QStringLiteral("Screen Capture Thumbnail"),
               [&f] { f.captureThumbnail(); });
    addCommand(image, "mnuScreenCaptureMenu", QStringLiteral("Screen Capture Menu"),
               [&f] { f.captureMenu(); });
    addCommand(image, "mnuScreenCaptureLandscape", QStringLiteral("Screen Capture Main Landscape"),
               [&f] { f.captureLandscape(); });

    QMenu *colour = menuBar()->addMenu(QStringLiteral("&Color"));
    addCommand(colour, "mnuResetColors", QStringLiteral("Reset Colors"),
               [&f] { f.resetColours(); });
    m_pickerAction = addCommand(colour, "mnuUseColorPicker", QStringLiteral("Use Color Picker"),
                                [&f] { f.toggleColourPicker(); });
    m_pickerAction->setCheckable(true);
    addCommand(colour, "mnuSetInternalColors", QStringLiteral("Set Internal Colors"), [this] {
        if (showInternalColorsDialog(this, m_prompt, m_session.doc.colours))
            m_form->drawScreen(QStringLiteral("MAIN"));
    });
    addCommand(colour, "mnuBaseHue", QStringLiteral("Base Hue..."), [&f] { f.chooseBaseHue(); });
    addCommand(colour, "mnuAutoColors", QStringLiteral("Auto Colors"), [&f] { f.autoColours(); });
    addCommand(colour, "mnuSwapNavColors", QStringLiteral("Swap Navigation Bar Colors"),
               [&f] { f.swapNavigationColours(); });
    addCommand(colour, "mnuMessagebarNavbar", QStringLiteral("Message Bar = Navigation Bar"),
               [&f] { f.copyNavigationToMessageBars(); });
    addCommand(colour, "mnuColorsFromTheme", QStringLiteral("Colors From a Theme"),
               [&f] { f.takeColoursFromTheme(); });
    colour->addSeparator();
    // The screen's elements in a menu of their own, so every entry has a key.
    QMenu *elementsMenu = colour->addMenu(QStringLiteral("Screen Elements"));
    const auto elements = colourElements();
    for (size_t i = 0; i < elements.size(); ++i)
        addCommand(elementsMenu, elements[i].menu, QLatin1String(elements[i].menuCaption),
                   [&f, i] { f.colourMenuItem(static_cast<int>(i)); });

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    addCommand(view, "mnuZoomIn", QStringLiteral("Zoom In"), [this] {
        setZoom(m_portrait->zoom() + 1);
    })->setShortcut(QKeySequence::ZoomIn);
    addCommand(view, "mnuZoomOut", QStringLiteral("Zoom Out"), [this] {
        setZoom(m_portrait->zoom() - 1);
    })->setShortcut(QKeySequence::ZoomOut);
    addCommand(view, "mnuZoomDefault", QStringLiteral("Default Zoom"), [this] {
        setZoom(m_defaultZoom);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction *content = addCommand(help, "mnuContent", QStringLiteral("Content"), [this] {
        showHelpContents(m_prompt, manualFolder(),
                         [this](const QString &folder, const QString &topic) {
                             showHelpWindow(this, folder, topic);
                         });
    });
    content->setShortcut(QKeySequence::HelpContents);
    addCommand(help, "mnuAbout", QStringLiteral("About"), [this] { showAboutDialog(this); });

    // What opens a dialog says so.
    QStringList dialogs = {"mnuSettings",
                           "mnuTransfer",
                           "mnuUpload",
                           "mnuLoadTheme",
                           "mnuSaveThemeLow",
                           "mnuSaveThemeMed",
                           "mnuSaveThemeHigh",
                           "mnuBrowseThemes",
                           "mnuLoadImages",
                           "mnuLoadImageFromTheme",
                           "mnuChangeImages",
                           "mnuSaveMainImage",
                           "mnuSaveMenuImage",
                           "mnuScreenCaptureMain",
                           "mnuScreenCaptureThumbnail",
                           "mnuScreenCaptureMenu",
                           "mnuScreenCaptureLandscape",
                           "mnuSetInternalColors",
                           "mnuColorsFromTheme",
                           "mnuAbout"};
    for (const ColourElement &e : colourElements())
        dialogs << QLatin1String(e.menu);
    for (const QString &name : dialogs) {
        QAction *a = action(name);
        const QString tip = a->toolTip();
        a->setText(a->text() + QStringLiteral("..."));
        a->setToolTip(tip);
    }
    auto *profilesGroup = new QActionGroup(this);
    profilesGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction *a : m_profileActions)
        profilesGroup->addAction(a);
    for (QAction *m : menuBar()->actions()) {
        assignMnemonics(m->menu()->actions());
        for (QAction *a : m->menu()->actions())
            if (a->menu())
                assignMnemonics(a->menu()->actions());
    }
}

void MainWindow::buildToolBar()
{
    Editor &f = *m_form;
    QToolBar *bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The desktop's icon for the command where its theme has one.
    const auto icon = [this](const char *name, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1String(name), style()->standardIcon(fallback));
    };
    const auto button = [&](const char *name, const QString &caption, const QString &tip,
                            const QIcon &ic, const std::function<void()> &run) {
        QAction *a = addCommand(nullptr, name, caption, run);
        a->setIcon(ic);
        a->setToolTip(tip);
        bar->addAction(a);
        return a;
    };
    auto *newThemes = new QActionGroup(this);
    newThemes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    static const char *const newNames[] = {"btnNewTheme0", "btnNewTheme1", "btnNewTheme2"};
    static const char *const newCaptions[] = {"Standard", "QVGA", "VGA"};
    for (int i = 0; i < 3; ++i) {
        QAction *a = button(newNames[i], QLatin1String(newCaptions[i]),
                            QLatin1String(profiles()[static_cast<size_t>(i)].caption),
                            icon("document-new", QStyle::SP_FileIcon),
                            [&f, i] { f.pressNewThemeButton(i); });
        a->setCheckable(true);
        newThemes->addAction(a);
        m_newThemeButtons[static_cast<size_t>(i)] = a;
    }
    bar->addSeparator();
    button("btnOpenExisting", QStringLiteral("Open"), QStringLiteral("Load Theme"),
           icon("document-open", QStyle::SP_DialogOpenButton), [&f] { f.openTheme(); });
    button("btnLoadImages", QStringLiteral("Images"), QStringLiteral("Load Image(s)"),
           icon("insert-image", QStyle::SP_DirOpenIcon), [&f] { f.loadImages(); });
    button("btnChangeImages", QStringLiteral("Change"), QStringLiteral("Change Current Image(s)"),
           icon("image-x-generic", QStyle::SP_FileDialogDetailedView), [&f] { f.changeImages(); });
    button("btnSave", QStringLiteral("Save"), QStringLiteral("Save Theme"),
           icon("document-save", QStyle::SP_DialogSaveButton), [&f] { f.saveAskingCompression(); });
    button("btnSettings", QStringLiteral("Settings"), QStringLiteral("Settings"),
           icon("preferences-system", QStyle::SP_FileDialogInfoView),
           [this] { action(QStringLiteral("mnuSettings"))->trigger(); });
    button("btnTransfer", QStringLiteral("Device"), QStringLiteral("Transfer to Device"),
           icon("drive-removable-media", QStyle::SP_DriveHDIcon),
           [this] { action(QStringLiteral("mnuTransfer"))->trigger(); });
    button("btnUpload", QStringLiteral("Upload"), QStringLiteral("Transfer to Glintory"),
           icon("network-transmit", QStyle::SP_ArrowUp),
           [this] { action(QStringLiteral("mnuUpload"))->trigger(); });
    bar->addSeparator();
    m_pickerButton =
        button("btnColorPicker", QStringLiteral("Picker"), QStringLiteral("Use Color Picker"),
               icon("color-picker", QStyle::SP_ArrowDown), [&f] { f.toggleColourPicker(); });
    m_pickerButton->setCheckable(true);
    button("btnResetColors", QStringLiteral("Reset"), QStringLiteral("Reset Colors"),
           icon("edit-clear", QStyle::SP_BrowserReload), [&f] { f.resetColours(); });
    button("btnUndoLast", QStringLiteral("Undo"),
           QStringLiteral("Undo Color Changes: back to the colors before the last color dialog"),
           icon("edit-undo", QStyle::SP_ArrowBack), [&f] { f.undoColours(); });
    button("btnMessageBar", QStringLiteral("Message Bar"),
           QStringLiteral("Message Bar = Navigation Bar"),
           icon("format-fill-color", QStyle::SP_MessageBoxInformation),
           [&f] { f.copyNavigationToMessageBars(); });
    button("btnInternalColors", QStringLiteral("Internal Colors"),
           QStringLiteral("Set Internal Colors"),
           icon("preferences-desktop-color", QStyle::SP_DesktopIcon),
           [this] { action(QStringLiteral("mnuSetInternalColors"))->trigger(); });
}

QWidget *MainWindow::buildControls()
{
    Editor &f = *m_form;
    auto *panel = new QWidget(this);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    auto *themeBox = new QGroupBox(QStringLiteral("Theme"), panel);
    auto *themeForm = new QFormLayout(themeBox);
    m_themeName = new QLineEdit(themeBox);
    m_themeName->setObjectName(QStringLiteral("txtThemeName"));
    m_themeName->setPlaceholderText(QStringLiteral("Theme name"));
    // Typed and pasted text both go through the model's name filter.
    connect(m_themeName, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int cursor = m_themeName->cursorPosition();
        const int dropped = static_cast<int>(text.size());
        m_form->setThemeName(text);
        const QString kept = m_form->view().themeNameText;
        if (kept != text) {
            m_themeName->setText(kept);
            m_themeName->setCursorPosition(
                std::max(0, cursor - (dropped - static_cast<int>(kept.size()))));
        }
    });
    themeForm->addRow(QStringLiteral("Name"), m_themeName);
    column->addWidget(themeBox);

    auto *colourBox = new QGroupBox(QStringLiteral("Colors"), panel);
    auto *colourRows = new QVBoxLayout(colourBox);
    auto *listRow = new QHBoxLayout;
    m_colours = new QComboBox(colourBox);
    m_colours->setObjectName(QStringLiteral("cmbColors"));
    for (const ColourElement *e : colourListEntries())
        m_colours->addItem(QLatin1String(e->listCaption));
    m_colours->setCurrentIndex(-1);
    m_colours->setPlaceholderText(QStringLiteral("Screen element"));
    connect(m_colours, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            m_form->setColourListIndex(index);
    });
    auto *getColour = new QPushButton(QStringLiteral("Set Color"), colourBox);
    getColour->setObjectName(QStringLiteral("btnGetColor"));
    connect(getColour, &QPushButton::clicked, this, [&f] { f.colourListedElement(); });
    listRow->addWidget(m_colours, 1);
    listRow->addWidget(getColour);
    colourRows->addLayout(listRow);

    auto *overlayRow = new QHBoxLayout;
    m_swatch = new QToolButton(colourBox);
    m_swatch->setObjectName(QStringLiteral("btnTransparencyColor"));
    m_swatch->setToolTip(QStringLiteral("Overlay color"));
    m_swatch->setFixedSize(28, 22);
    connect(m_swatch, &QToolButton::clicked, this, [&f] { f.chooseOverlayColour(); });
    m_slider = new QSlider(Qt::Horizontal, colourBox);
    m_slider->setObjectName(QStringLiteral("sliderTransparency"));
    m_slider->setRange(0, 255);
    m_slider->setToolTip(QStringLiteral("Overlay strength"));
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        if (!m_syncing)
            m_form->setOverlayLevel(value);
    });
    overlayRow->addWidget(new QLabel(QStringLiteral("Overlay"), colourBox));
    overlayRow->addWidget(m_swatch);
    overlayRow->addWidget(m_slider, 1);
    colourRows->addLayout(overlayRow);
    column->addWidget(colourBox);

    auto *captureBox = new QGroupBox(QStringLiteral("Screen Capture"), panel);
    auto *captureRows = new QVBoxLayout(captureBox);
    auto *kinds = new QHBoxLayout;
    m_captureKinds = new QButtonGroup(captureBox);
    m_captureKinds->setObjectName(QStringLiteral("btnCapture"));
    static const char *const kindCaptions[] = {"Main", "Thumbnail", "Menu", "Landscape"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(captureBox);
        b->setObjectName(QStringLiteral("btnCapture%1").arg(i));
        b->setText(QLatin1String(kindCaptions[i]));
        b->setCheckable(true);
        m_captureKinds->addButton(b, i);
        kinds->addWidget(b);
    }
    connect(m_captureKinds, &QButtonGroup::idClicked, this, [&f](int id) { f.setCaptureKind(id); });
    auto *capture = new QPushButton(QStringLiteral("Capture"), captureBox);
    capture->setObjectName(QStringLiteral("btnScreenCapture"));
    connect(capture, &QPushButton::clicked, this, [&f] { f.captureChosenKind(); });
    captureRows->addLayout(kinds);
    captureRows->addWidget(capture);
    column->addWidget(captureBox);
    column->addStretch(1);
    panel->setMinimumWidth(300);
    return panel;
}

void MainWindow::buildStatusBar()
{
    m_pointerLabel = new QLabel(this);
    m_pointerLabel->setObjectName(QStringLiteral("lblPointer"));
    statusBar()->addWidget(m_pointerLabel, 1);
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cmbZoom"));
    for (int z = 1; z <= 4; ++z)
        m_zoomBox->addItem(QStringLiteral("%1x").arg(z), z);
    m_zoomBox->setToolTip(QStringLiteral("Preview zoom"));
    statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Zoom"), this));
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            setZoom(index + 1);
    });
    statusBar()->addPermanentWidget(m_zoomBox);
}

void MainWindow::setZoom(int zoom)
{
    zoom = std::clamp(zoom, 1, 4);
    const bool changed = zoom != m_portrait->zoom();
    m_portrait->setZoom(zoom);
    m_landscape->setZoom(zoom);
    // The scroll area's wish follows its contents only when told.
    m_scroll->widget()->layout()->activate();
    m_scroll->updateGeometry();
    m_syncing = true;
    m_zoomBox->setCurrentIndex(zoom - 1);
    m_syncing = false;
    if (changed && isVisible())
        fitToScreen();
}

void MainWindow::fitToScreen()
{
    if (isMaximized() || isFullScreen())
        return;
    const QScreen *s = screen();
    if (!s)
        return;
    const QRect room = s->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    // The size that shows the previews whole, or the most the screen has.
    centralWidget()->layout()->activate();
    const QSize wanted = sizeHint().boundedTo(room.size() - frame).expandedTo(minimumSizeHint());
    resize(wanted);
    QRect placed(frameGeometry().topLeft(), wanted + frame);
    placed.moveRight(std::min(placed.right(), room.right()));
    placed.moveBottom(std::min(placed.bottom(), room.bottom()));
    placed.moveLeft(std::max(placed.left(), room.left()));
    placed.moveTop(std::max(placed.top(), room.top()));
    move(placed.topLeft());
}

void MainWindow::showHover(bool landscape, int x, int y)
{
    const QString element = m_form->elementAt(landscape, x, y);
    m_pointerLabel->setText(element.isEmpty()
                                ? QStringLiteral("%1, %2").arg(x).arg(y)
                                : QStringLiteral("%1, %2: %3").arg(x).arg(y).arg(element));
}

void MainWindow::sync()
{
    const MainView &v = m_form->view();
    m_syncing = true;
    for (int i = 0; i < ProfileCount; ++i)
        m_profileActions[static_cast<size_t>(i)]->setChecked(v.checkedProfile == i);
    for (int i = 0; i < 3; ++i)
        m_newThemeButtons[static_cast<size_t>(i)]->setChecked(
            v.newThemePressed[static_cast<size_t>(i)]);
    // A command that waits says what for.
    const auto enable = [](QAction *a, bool enabled, const QString &why) {
        if (!a->property("usualTip").isValid())
            a->setProperty("usualTip", a->toolTip());
        a->setEnabled(enabled);
        a->setToolTip(enabled ? a->property("usualTip").toString() : why);
        a->setStatusTip(enabled ? QString() : why);
    };
    for (const char *change : {"mnuChangeImages", "btnChangeImages"})
        enable(action(QLatin1String(change)), v.changeImagesEnabled,
               QStringLiteral("Load a picture first: there is nothing to change yet"));
    enable(action(QStringLiteral("mnuBaseHue")), v.baseHueEnabled,
           QStringLiteral("Only Windows Mobile 5 themes have a base hue"));
    m_pickerAction->setChecked(v.useColorPickerChecked);
    m_pickerButton->setChecked(v.useColorPickerChecked);
    m_landscape->setVisible(v.landscapeVisible);
    if (m_slider->value() != v.overlayLevel)
        m_slider->setValue(v.overlayLevel);
    m_swatch->setStyleSheet(
        QStringLiteral("QToolButton { background: %1; border: 1px solid #555; }")
            .arg(colourName(v.overlaySwatch)));
    if (m_themeName->text() != v.themeNameText)
        m_themeName->setText(v.themeNameText);
    if (m_colours->currentIndex() != v.colourListIndex)
        m_colours->setCurrentIndex(v.colourListIndex);
    if (QAbstractButton *b = m_captureKinds->button(v.captureButton))
        b->setChecked(true);
    setWindowTitle(v.documentName + QStringLiteral("[*] - Varno"));
    setWindowModified(v.modified);
    m_portrait->setPickerCursor(v.pickerCursor);
    m_landscape->setPickerCursor(v.pickerCursorLandscape);
    syncPreviews();
    m_syncing = false;
}

void MainWindow::syncPreviews()
{
    const DeviceScreen &s = m_screen.screen();
    if (s.portraitScreen.image().cacheKey() != m_portrait->picture().cacheKey())
        m_portrait->setPicture(s.portraitScreen.image());
    if (s.landscapeScreen.image().cacheKey() != m_landscape->picture().cacheKey())
        m_landscape->setPicture(s.landscapeScreen.image());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_changesSettled && !m_form->askToKeepChanges()) {
        event->ignore();
        return;
    }
    m_changesSettled = true;
    storeGeometryInSettings();
    m_form->shutDown();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    openFile(urls.first().toLocalFile());
}

void MainWindow::openFile(const QString &path)
{
    m_form->openGivenFile(path);
}

void MainWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_form->recentThemes();
    for (int i = 0; i < files.size(); ++i) {
        // "&10" would take "1" as its key: the tenth goes without one.
        const QString key = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("10 ");
        QAction *a = m_recentMenu->addAction(key + QFileInfo(files[i]).fileName());
        a->setToolTip(QDir::toNativeSeparators(files[i]));
        a->setStatusTip(a->toolTip());
        const QString file = files[i];
        connect(a, &QAction::triggered, this, [this, file] { m_form->openRecentTheme(file); });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(QStringLiteral("No Recent Themes"))->setEnabled(false);
    m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(QStringLiteral("Clear List"),
                                             [this] { m_form->clearRecentThemes(); });
    clear->setObjectName(QStringLiteral("actClearRecent"));
    clear->setEnabled(!files.isEmpty());
}

void MainWindow::restoreWindowFromSettings()
{
    if (!m_session.registry)
        return;
    const QString key = settingsSectionName() + WindowKey;
    const int zoom = m_session.registry->readWord(key, QStringLiteral("Zoom"));
    if (zoom >= 1 && zoom <= 4)
        setZoom(zoom);
    const QString saved = m_session.registry->readString(key, QStringLiteral("Geometry"));
    if (saved.isEmpty() || !restoreGeometry(QByteArray::fromBase64(saved.toLatin1()))) {
        // The first run: as large as the previews want, within the screen.
        if (const QScreen *s = screen())
            resize(sizeHint().boundedTo(s->availableGeometry().size()));
        return;
    }
    // A place stored on a larger screen shrinks to this one.
    if (const QScreen *s = screen())
        resize(size().boundedTo(s->availableGeometry().size()));
}

void MainWindow::storeGeometryInSettings()
{
    if (!m_session.registry)
        return;
    const QString key = settingsSectionName() + WindowKey;
    m_session.registry->writeString(key, QStringLiteral("Geometry"),
                                    QString::fromLatin1(saveGeometry().toBase64()));
    m_session.registry->writeWord(key, QStringLiteral("Zoom"), m_portrait->zoom());
}

}  // namespace varno
