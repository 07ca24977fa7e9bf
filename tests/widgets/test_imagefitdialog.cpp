// The fitting dialog's widgets over ImageFitModel: which controls each variant
// shows, each control bound to its handler and field, the canvases as the
// model has them, OK and Cancel, and the pan window's drag.
#include "imagefit/probe.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/imagefitdialog_p.h"
#include "ui/widgets/panwindow_p.h"
#include "widgettest.h"

#include <QLabel>
#include <QTest>

#include <memory>

using namespace varno;
using namespace varno::test;

namespace {

using K = ImageDialogKind;

// What a canvas view shows, as a buffer.
Raster shownOn(QDialog &dialog, const char *view)
{
    const QLabel *label = child<QLabel>(dialog, view);
    return label
               ? Raster::fromImage(label->pixmap().toImage().convertToFormat(QImage::Format_RGB32))
               : Raster();
}

class ImageFitDialogTest : public ::testing::Test {
protected:
    // A dialog of `kind` shown over `picture`; showing it activates the model.
    void open(K kind, const Raster &picture = probe(400, 300))
    {
        dialog.reset();
        model = std::make_unique<ImageFitModel>(kind, prompt, doc, settings);
        model->startWith(picture);
        dialog = std::make_unique<ImageFitDialog>(*model);
        QObject::connect(dialog.get(), &QDialog::finished, [this](int r) { result = r; });
        dialog->show();
    }
    // Both views show exactly the model's canvases.
    void expectCanvasesShown()
    {
        EXPECT_TRUE(shownOn(*dialog, "LEADMain").samePixels(model->mainCanvas));
        EXPECT_TRUE(shownOn(*dialog, "LEADMenu").samePixels(model->menuCanvas));
    }
    bool enabled(const char *name) { return child<QWidget>(*dialog, name)->isEnabled(); }
    void TearDown() override
    {
        dialog.reset();
        EXPECT_TRUE(prompt.messages().empty());
    }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    std::unique_ptr<ImageFitModel> model;
    std::unique_ptr<ImageFitDialog> dialog;
    int result = -1;  // how the dialog ended; -1 while open
};

// Names of the buttons a user can see, sorted.
QStringList visibleButtons(QDialog &dialog)
{
    QStringList found;
    for (const QAbstractButton *b : dialog.findChildren<QAbstractButton *>())
        if (b->isVisibleTo(&dialog) && !b->objectName().isEmpty())
            found << b->objectName();
    found.sort();
    return found;
}

}  // namespace

// The controls are bound to the variant: justification and flips where the
// canvas can be cut, orientation guides for the QVGA and VGA screens.
TEST_F(ImageFitDialogTest, EachVariantShowsExactlyItsControls)
{
    const QStringList common = {"btnButton0",   "btnButton1",   "btnButton2",   "btnButton3",
                                "btnButton4",   "btnButton5",   "btnButton6",   "btnButton7",
                                "oPicMainBack", "oPicMenuBack", "radSizing0",   "radSizing1",
                                "btnResizing0", "btnResizing1", "btnResizing2", "ckbUseMain"};
    const QStringList extras = {"btnJustify0", "btnJustify1",      "btnJustify2",     "radFlip0",
                                "radFlip1",    "btnFlipLeftRight", "btnFlipTopBottom"};
    const QStringList guides = {"btnLandscape", "btnPortrait"};
    const struct {
        K kind;
        const char *caption;
        QSize canvas;
        bool extras, guides;
    } cases[] = {{K::Standard, "Standard Theme Image(s)", {240, 293}, false, false},
                 {K::SE, "QVGA Theme Image(s)", {320, 293}, true, true},
                 {K::Square, "Square Theme Image(s)", {240, 214}, true, false},
                 {K::VGA, "VGA Theme Image(s)", {320, 293}, true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        open(c.kind);
        EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(c.caption));
        QStringList expected =
            common + (c.extras ? extras : QStringList()) + (c.guides ? guides : QStringList());
        expected.sort();
        EXPECT_EQ(visibleButtons(*dialog), expected);
        EXPECT_EQ(child<QLabel>(*dialog, "LEADMenu")->size(), c.canvas);
        expectCanvasesShown();  // showing activated the model
    }
}

// OK hands the canvases over and closes the pan window with the dialog; what
// Cancel leaves is the model's business.
TEST_F(ImageFitDialogTest, OkHandsTheCanvasesOverAndClosesThePanWindow)
{
    open(K::SE);
    click(*dialog, "btnButton2");
    ASSERT_NE(dialog->panWindow(), nullptr);
    click(*dialog, "btnButton7");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->panWindow(), nullptr);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(doc.todayPicture.samePixels(model->mainCanvas));
    EXPECT_TRUE(doc.menuPicture.samePixels(model->menuCanvas));
}

TEST_F(ImageFitDialogTest, DraggingThePanFrameMovesTheRectangleAndTheCanvas)
{
    // 760 x 596 fits the 382 x 400 window, less a pixel on each side for
    // the frame, at exactly half size.
    const Raster picture = probe(760, 596);
    open(K::SE, picture);
    click(*dialog, "btnButton2");
    PanWindow *pan = dialog->panWindow();
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(pan->size(), QSize(382, 400));
    // The 320 x 293 rectangle at half size, one pixel of frame around it.
    EXPECT_EQ(pan->frameArea(), QRect(0, 50, 162, 149));

    const QPoint from = pan->frameArea().center(), by(50, 20);
    QTest::mousePress(pan, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(pan, from + by / 2);
    QTest::mouseMove(pan, from + by);
    QTest::mouseRelease(pan, Qt::LeftButton, Qt::NoModifier, from + by);
    EXPECT_EQ(model->panRect, QRect(100, 40, 320, 293));
    EXPECT_EQ(model->mainCanvas.pixel(0, 0), picture.pixel(100, 40));
    expectCanvasesShown();

    // A press outside the frame drags nothing.
    QTest::mousePress(pan, Qt::LeftButton, Qt::NoModifier, QPoint(5, 395));
    QTest::mouseMove(pan, QPoint(100, 395));
    QTest::mouseRelease(pan, Qt::LeftButton, Qt::NoModifier, QPoint(100, 395));
    EXPECT_EQ(model->panRect.topLeft(), QPoint(100, 40));

    // Escape closes the pan window, from the dialog too, which stays open.
    QTest::keyClick(pan, Qt::Key_Escape);
    EXPECT_EQ(model->panOpen, ImageFitModel::Pan::None);
    EXPECT_TRUE(enabled("btnButton2"));
    EXPECT_EQ(dialog->panWindow(), nullptr);
    click(*dialog, "btnButton2");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->panWindow(), nullptr);
    EXPECT_EQ(result, -1);
}
