// The main window's widgets: the menus as a user sees them, the preview
// clicks mapped back to device pixels, the theme-name box, dropped files.
#include "app/raster/pictureio.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "preview/devicescreen.h"
#include "ui/widgets/mainwindow.h"
#include "ui/widgets/previewwidget.h"
#include "widgettest.h"

#include <QSet>

#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>

using namespace varno;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(module.start(prompt), EditorSession::Start::ShowWindow);
        window = std::make_unique<MainWindow>(module);
        ASSERT_TRUE(window->load());
    }
    void TearDown() override { window.reset(); }

    // Releases the left button over a preview at a widget position.
    static void release(PreviewWidget *preview, QPoint at)
    {
        QTest::mouseRelease(preview, Qt::LeftButton, Qt::NoModifier, at);
    }

    test::Sandbox box;
    test::ScriptedPrompt prompt;
    EditorSession module{AppPaths::forEditor()};
    std::unique_ptr<MainWindow> window;
};

}  // namespace

// Every menu and entry has a key of its own (Alt+letter), and what opens a
// dialog says so with "...".
TEST_F(MainWindowTest, MenusHoldEveryCommandInOrderWithKeysAndWaitingOnesDisabled)
{
    const QStringList expected = {
        "File: Save|Save As...|Open Recent|Ask to Save Changes|Settings...|"
        "Transfer to Device...|Transfer to Glintory...|Exit",
        "Edit: Undo Color Changes",
        "Theme: New Theme - Standard|New Theme - QVGA|New Theme - VGA|New Theme - Square 240|"
        "New WM5 Theme - QVGA|New WM5 Theme - VGA|New WM5 Theme - Square 240|Load Theme...|"
        "Save Theme (Low Comp)...|Save Theme (Med Comp)...|Save Theme (High Comp)...|"
        "Manage Themes|Browse Themes...",
        "Image: Load Image(s)...|Load Image From Theme...|Change Current Image(s)...|"
        "Save Main Image...|Save Menu Image...|Screen Capture Main...|"
        "Screen Capture Thumbnail...|Screen Capture Menu...|Screen Capture Main Landscape...",
        "Color: Reset Colors|Use Color Picker|Set Internal Colors...|Base Hue...|Auto Colors|"
        "Swap Navigation Bar Colors|Message Bar = Navigation Bar|Colors From a Theme...|"
        "Screen Elements",
        "View: Zoom In|Zoom Out|Default Zoom",
        "Help: Content|About...",
        "Open Recent: ",  // filled as it opens
        "Screen Elements: Left Navigation Bar...|Right Navigation Bar...|"
        "Navigation Bar Text...|Today Screen Text...|Today Screen Lines...|Command Bar...|"
        "Navigation Tray...|Message Bar Left...|Message Bar Right...|Message Bar Text...|"
        "Important Message Bar Left...|Important Message Bar Right...|"
        "Important Message Bar Text...|Menu Text...|Dialog Text..."};
    // Change Current Image(s) waits for a fitting dialog holding pictures,
    // Base Hue... for a WM5 theme; each says so.
    const QStringList disabled = {"Change Current Image(s)...", "Base Hue..."};
    const auto keyOf = [](const QString &text) {
        const qsizetype at = text.indexOf(u'&');
        return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
    };
    QStringList shown;
    std::vector<const QMenu *> menus;
    for (const QAction *m : window->menuBar()->actions())
        menus.push_back(m->menu());
    QSet<QChar> menuKeys;
    for (size_t i = 0; i < menus.size(); ++i) {
        const QString title = menus[i]->title();
        const bool top = menus[i]->parent() == window->menuBar();
        EXPECT_TRUE(!keyOf(title).isNull() && (!top || !menuKeys.contains(keyOf(title))))
            << title.toStdString();
        menuKeys << keyOf(title);
        QStringList captions;
        QSet<QChar> keys;
        for (const QAction *a : menus[i]->actions()) {
            if (a->isSeparator())
                continue;
            const QString caption = QString(a->text()).remove(u'&');
            captions << caption;
            EXPECT_TRUE(!keyOf(a->text()).isNull() && !keys.contains(keyOf(a->text())))
                << caption.toStdString();
            keys << keyOf(a->text());
            EXPECT_EQ(a->isEnabled(), !disabled.contains(caption)) << caption.toStdString();
            EXPECT_TRUE(a->isEnabled() || !a->statusTip().isEmpty()) << caption.toStdString();
            if (a->menu())
                menus.push_back(a->menu());
        }
        shown << QString(title).remove(u'&') + ": " + captions.join(u'|');
    }
    EXPECT_EQ(shown, expected);
    if (const QString shots = qEnvironmentVariable("VARNO_SCREENSHOTS"); !shots.isEmpty()) {
        window->grab().save(shots + QStringLiteral("/main-window.png"));
        for (const int i : {0, 4}) {
            QMenu *menu = window->menuBar()->actions()[i]->menu();
            menu->popup(window->mapToGlobal(QPoint(0, 0)));
            QCoreApplication::processEvents();
            menu->grab().save(shots + QStringLiteral("/menu-%1.png").arg(i));
            menu->close();
        }
    }
}

TEST_F(MainWindowTest, PreviewClicksReachTheZonesInDevicePixelsAtEveryZoom)
{
    // In picker mode a click only arms a pick, so no dialog opens.
    window->action(QStringLiteral("mnuUseColorPicker"))->trigger();
    ASSERT_TRUE(window->action(QStringLiteral("btnColorPicker"))->isChecked());
    const struct {
        int zoom;
        bool landscape;
        QPoint widget;
        const char *key;
    } cases[] = {
        {3, false, {3 * 57, 30}, "LEFT"},  // first widget pixel of device column 57
        {3, false, {3 * 57 - 1, 30}, ""},  // last widget pixel of column 56
        {2, true, {2 * 296, 2 * 25 + 1}, "RIGHT"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.widget.x());
        window->setZoom(c.zoom);
        PreviewWidget *preview = c.landscape ? window->landscape() : window->portrait();
        EXPECT_EQ(preview->sizeHint(), preview->picture().size() * c.zoom);
        window->model().pendingElement.clear();
        release(preview, c.widget);
        EXPECT_EQ(window->model().pendingElement, QLatin1String(c.key));
        EXPECT_EQ(preview->pickerCursor(), *c.key != 0);
        if (preview->pickerCursor())
            release(preview, {0, 0});  // take the pick
        EXPECT_FALSE(preview->pickerCursor());
    }
    EXPECT_TRUE(prompt.calls().empty());
}

// The status bar names what is under the pointer, in device pixels.
TEST_F(MainWindowTest, StatusBarNamesWhatIsUnderThePointer)
{
    window->setZoom(2);
    test::mouseAt(window->portrait(), QEvent::MouseMove, QPointF(2 * 60 + 1, 2 * 10));
    EXPECT_EQ(test::child<QLabel>(*window, "lblPointer")->text(),
              QStringLiteral("60, 10: Left Navigation Bar"));
}

TEST_F(MainWindowTest, DroppedPictureGoesThroughTheFittingDialog)
{
    // The dialog itself is tested on its own; here OK is pressed at once.
    int shown = 0;
    window->model().runFitDialog = [&](ImageFitModel &dialog) {
        ++shown;
        dialog.activate();
        return dialog.pressButton(ImageFitModel::OKButton);
    };
    EXPECT_FALSE(window->action(QStringLiteral("mnuChangeImages"))->isEnabled());
    Raster picture(50, 40);
    picture.fill(rgb(200, 10, 10));
    const QString path = box.file(QStringLiteral("drop.png"));
    savePng(picture, path);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Qt delivers a drop to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window->portrait()->picture().pixelColor(25, 60), QColor(200, 10, 10));
    EXPECT_TRUE(window->action(QStringLiteral("mnuChangeImages"))->isEnabled());
}

// Zoom keeps the window on the screen and shrinks it again; closing stores
// it with the window's place, without asking.
TEST_F(MainWindowTest, ZoomAndPlaceAreRememberedOnClosing)
{
    const QString key = settingsSectionName() + QStringLiteral("\\Window");
    module.registry->writeWord(key, QStringLiteral("Zoom"), 2);
    ASSERT_TRUE(window->load());
    EXPECT_EQ(window->portrait()->zoom(), 2);
    window->show();
    const QSize room = window->screen()->availableGeometry().size();
    window->setZoom(4);
    const QSize large = window->frameGeometry().size();
    EXPECT_LE(large.width(), room.width());
    EXPECT_LE(large.height(), room.height());

    QAction *in = window->action(QStringLiteral("mnuZoomIn"));
    QAction *out = window->action(QStringLiteral("mnuZoomOut"));
    QAction *reset = window->action(QStringLiteral("mnuZoomDefault"));
    ASSERT_TRUE(in && out && reset);
    EXPECT_EQ(in->shortcut(), QKeySequence(QKeySequence::ZoomIn));
    EXPECT_EQ(out->shortcut(), QKeySequence(QKeySequence::ZoomOut));
    EXPECT_EQ(reset->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
    for (int i = 0; i < 4; ++i)
        out->trigger();
    EXPECT_EQ(window->portrait()->zoom(), 1);
    // Zoomed out, the window shrinks again.
    EXPECT_LT(window->frameGeometry().height(), large.height());
    in->trigger();
    EXPECT_EQ(window->portrait()->zoom(), 2);

    const QSize closedAt = window->size();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompt.calls().empty());
    SettingsFile reg(box.file(QStringLiteral("settings.reg")));
    EXPECT_EQ(reg.readWord(key, QStringLiteral("Zoom")), 2);
    QMainWindow again;
    ASSERT_TRUE(again.restoreGeometry(
        QByteArray::fromBase64(reg.readString(key, QStringLiteral("Geometry")).toLatin1())));
    EXPECT_EQ(again.size(), closedAt);
}
