// The fitting dialog model: loading, the fits of every variant, panning,
// flips, backgrounds and the hand-over to the document.
#include "app/raster/pictureio.h"
#include "imagefit/fitting.h"
#include "imagefit/imagefitmodel.h"
#include "probe.h"
#include "support/scriptedprompt.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace varno;
using namespace varno::test;

namespace {

using K = ImageDialogKind;
constexpr Colour Blue = rgb(0, 0, 255);

class ImageFitModelTest : public ::testing::Test {
protected:
    std::unique_ptr<ImageFitModel> make(K kind)
    {
        return std::make_unique<ImageFitModel>(kind, prompt, doc, settings);
    }
    // A dialog shown with `picture`, main background Magenta.
    std::unique_ptr<ImageFitModel> shown(K kind, const Raster &picture)
    {
        auto f = make(kind);
        prompt.answerColor(Magenta);
        f->chooseMainBackground();
        f->startWith(picture);
        f->activate();
        return f;
    }
    static void fit(ImageFitModel &f, ResizeMode mode, Justify justify = Justify::Centre)
    {
        f.setSizing(ImageFitModel::SizeImageToFit);
        f.setResizeMode(int(mode));
        if (justify != Justify::Centre)
            f.setJustification(int(justify));
    }
    QString save(const QString &name, const Raster &picture)
    {
        const QString path = dir.filePath(name);
        savePng(picture, path);
        return path;
    }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ImageFitModelTest, FileNamesAreCheckedBeforeLoading)
{
    struct Case {
        const char *name;
        const char *refusal;  // nullptr: loads
    } cases[] = {
        {"a.png", nullptr},  // five characters are enough
        {".png", "Illegal file name!"},
        {"photo.jpeg", nullptr},  // "peg" is in the list
        {"scan.tiff", "Unsupported file type!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompt.clear();
        settings.imagesFolder = QStringLiteral("/before");
        auto f = make(K::SE);
        const QString path = c.refusal ? dir.filePath(QString::fromUtf8(c.name))
                                       : save(QString::fromUtf8(c.name), probe(30, 20));
        prompt.answerFile(path);
        f->loadMainImage();
        if (c.refusal) {
            EXPECT_EQ(prompt.messages(), std::vector{okBox(c.refusal)});
        } else {
            EXPECT_TRUE(prompt.messages().empty());
            EXPECT_EQ(settings.imagesFolder, dir.path());
            EXPECT_EQ(f->mainCanvas.pixel(29, 19), probeColour(29, 19));
        }
    }
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.filter, QStringLiteral("All Files|*.*|JPEG|*.jpg|Windows BMP|*.bmp|PNG|*.png|"
                                           "PCX|*.pcx|TGA|*.tga|GIF|*.gif|TIF|*.tif"));
}

// Every dialog here is set up by its activation; "Change Current Image(s)"
// shows one already set up as it was left.
TEST_F(ImageFitModelTest, ActivationOfAReadyDialogKeepsWhatItShows)
{
    auto f = shown(K::SE, probe(400, 100));
    EXPECT_TRUE(doc.imageDialogReady);
    EXPECT_TRUE(f->menuSource.samePixels(f->mainSource));
    EXPECT_TRUE(f->mainCanvas.samePixels(placed(probe(400, 100), {320, 293}, Magenta, 0, 0)));
    f->startWith(probe(10, 10));
    doc.imageDialogReady = true;  // as "Change Current Image(s)" finds it
    f->activate();
    EXPECT_EQ(f->menuSource.width(), 400);
}

// Worked fits: where the resized picture lands along its free side
// (negative: cut from there), shown and handed over as shown. "Fit to X" on
// the standard screen keeps the height it comes to, at the top.
TEST_F(ImageFitModelTest, FitsPlaceTheResizedPicture)
{
    const struct {
        K kind;
        int width, height;
        ResizeMode mode;
        Justify justify;
        int along;
    } cases[] = {
        {K::SE, 400, 700, ResizeMode::FitX, Justify::Centre, -134},
        {K::SE, 400, 700, ResizeMode::FitX, Justify::Start, 0},
        {K::SE, 400, 700, ResizeMode::FitX, Justify::End, -267},
        {K::SE, 327, 293, ResizeMode::FitY, Justify::Centre, -3},
        {K::SE, 100, 400, ResizeMode::FitY, Justify::End, 247},
        {K::Standard, 100, 400, ResizeMode::FitY, Justify::Centre, 83},
        {K::Standard, 480, 360, ResizeMode::FitX, Justify::Centre, 0},
        {K::Square, 480, 360, ResizeMode::FitX, Justify::Centre, 17},
        {K::VGA, 1000, 800, ResizeMode::FitX, Justify::Centre, 18},  // on the half-size picture
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.width << "x" << c.height);
        auto f = shown(c.kind, probe(c.width, c.height));
        fit(*f, c.mode, c.justify);
        const QSize canvas = f->variant().canvas;
        Raster picture = probe(c.width, c.height);
        if (c.kind == K::VGA)
            picture = resized(picture, c.width / 2, 0);
        const bool fitX = c.mode == ResizeMode::FitX;
        picture = fitX ? resized(picture, canvas.width(), 0) : resized(picture, 0, canvas.height());
        const Raster expected =
            placed(picture, canvas, Magenta, fitX ? 0 : c.along, fitX ? c.along : 0);
        EXPECT_TRUE(f->mainCanvas.samePixels(expected));
        if (c.kind == K::VGA)
            continue;
        // The pan window opens on the part the canvas shows: its first step
        // moves nothing.
        if (c.along < 0) {
            f->panWindow(QStringLiteral("main"));
            const QPoint at(fitX ? 0 : -c.along, fitX ? -c.along : 0);
            EXPECT_EQ(f->panRect.topLeft(), at);
            f->movePan(at.x(), at.y());
            EXPECT_TRUE(f->mainCanvas.samePixels(expected));
        }
        ASSERT_TRUE(f->pressButton(ImageFitModel::OKButton));
        EXPECT_TRUE(doc.todayPicture.samePixels(expected));
    }
}

// VGA shows half size and hands over at full scale: a fit made again at
// 640 x 588, or the regions panned to.
TEST_F(ImageFitModelTest, VgaHandsOverAFullScaleFitOrThePannedRegions)
{
    auto fitted = shown(K::VGA, probe(1000, 800));
    fit(*fitted, ResizeMode::FitX);
    ASSERT_TRUE(fitted->accept());
    // 640 x 512 centred on 588 rows: (588 - 512) / 2.
    EXPECT_TRUE(doc.todayPicture.samePixels(
        placed(resized(probe(1000, 800), 640, 0), {640, 588}, Magenta, 0, 38)));
    // The menu keeps its own picture, unscaled, on its black background.
    EXPECT_TRUE(doc.menuPicture.samePixels(placed(probe(1000, 800), {640, 588}, 0, 0, 0)));

    auto f = shown(K::VGA, probe(1000, 800));
    f->panWindow(QStringLiteral("main"));
    ASSERT_EQ(f->panOpen, ImageFitModel::Pan::Main);
    EXPECT_FALSE(f->buttonEnabled[ImageFitModel::PanMenuImage]);
    f->movePan(100, 50);
    EXPECT_EQ(f->panRect, QRect(100, 50, 640, 588));
    f->closePanWindow();

    f->panWindow(QStringLiteral("menu"));
    f->movePan(5000, 5000);  // held at the picture's corner
    EXPECT_EQ(f->panRect.topLeft(), QPoint(360, 212));
    f->closePanWindow();

    ASSERT_TRUE(f->accept());
    EXPECT_EQ(doc.todayPicture.pixel(639, 587), probeColour(739, 637));
    EXPECT_EQ(doc.menuPicture.pixel(0, 0), probeColour(360, 212));

    // Clearing forgets the pan: the hand-over is the background alone.
    f->clearImage(false);
    ASSERT_TRUE(f->accept());
    EXPECT_EQ(doc.todayPicture.pixel(639, 587), Magenta);
    EXPECT_FALSE(f->mainPanned);
}

// A control used after a pan: the dialog shows and hands over what that
// control gives, the pan ended by a new fit or flip and kept by a new
// background.
TEST_F(ImageFitModelTest, VgaControlsAfterAPanShowWhatTheyHandOver)
{
    using Control = std::function<void(ImageFitModel &)>;
    const Control blue = [this](ImageFitModel &f) {
        prompt.answerColor(Blue);
        f.chooseMainBackground();
    };
    const struct {
        const char *name;
        Control control;
        bool keepsPan;
    } cases[] = {
        {"Center Justified", [](ImageFitModel &f) { f.setJustification(int(Justify::Centre)); },
         false},
        {"Fit to Y", [](ImageFitModel &f) { f.setResizeMode(int(ResizeMode::FitY)); }, false},
        {"Flip", [](ImageFitModel &f) { f.flipTopBottom(); }, false},
        {"Background", blue, true},
    };
    const auto pan = [](ImageFitModel &f) {
        f.panWindow(QStringLiteral("main"));
        f.movePan(100, 50);
        f.closePanWindow();
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto expected = shown(K::VGA, probe(700, 620));
        fit(*expected, ResizeMode::FitX);
        c.control(*expected);
        if (c.keepsPan)
            pan(*expected);
        ASSERT_TRUE(expected->accept());
        const Raster handedOver = doc.todayPicture;

        auto f = shown(K::VGA, probe(700, 620));
        fit(*f, ResizeMode::FitX);
        pan(*f);
        c.control(*f);
        EXPECT_TRUE(f->mainCanvas.samePixels(expected->mainCanvas));
        ASSERT_TRUE(f->accept());
        EXPECT_TRUE(doc.todayPicture.samePixels(handedOver));
    }
}

TEST_F(ImageFitModelTest, UseMainInMenuRepeatsEachFitOnTheMenuBackground)
{
    for (const K kind : {K::SE, K::VGA}) {
        SCOPED_TRACE(int(kind));
        auto f = shown(kind, probe(320, 240));
        prompt.answerColor(Blue);
        f->chooseMenuBackground();
        f->setFlipTarget(ImageFitModel::FlipMenu);
        f->setUseMainInMenu(true);
        EXPECT_FALSE(f->buttonEnabled[ImageFitModel::LoadMenuImage]);
        // Only the main picture can be flipped while the menu follows it.
        EXPECT_FALSE(f->menuFlipEnabled);
        EXPECT_EQ(f->flipTarget, ImageFitModel::FlipMain);
        fit(*f, ResizeMode::FitX);
        if (kind == K::SE) {
            EXPECT_TRUE(f->menuCanvas.samePixels(placed(probe(320, 240), {320, 293}, Blue, 0, 26)));
        }
        ASSERT_TRUE(f->accept());
        const Raster followed = doc.menuPicture;

        // Unticked, the menu keeps what it shows as its own picture, and its
        // buttons and flip come back.
        f->setUseMainInMenu(false);
        EXPECT_TRUE(f->buttonEnabled[ImageFitModel::LoadMenuImage]);
        EXPECT_EQ(f->menuCanvas.pixel(0, 0), Blue);
        ASSERT_TRUE(f->accept());
        EXPECT_TRUE(doc.menuPicture.samePixels(followed));
        f->setFlipTarget(ImageFitModel::FlipMenu);
        f->flipTopBottom();
        ASSERT_TRUE(f->accept());
        Raster turned = followed;
        turned.flip();
        EXPECT_TRUE(doc.menuPicture.samePixels(turned));
    }
}

TEST_F(ImageFitModelTest, FlipsTurnTheChosenSourceAndRebuild)
{
    struct Case {
        K kind;
        int target;
        bool useMain, mirror;
        bool mainTurned, menuTurned;
    } cases[] = {
        {K::SE, ImageFitModel::FlipMenu, false, true, false, true},
        {K::SE, ImageFitModel::FlipMain, true, false, true, true},
        // The menu follows the main picture: the flip turns what is shown.
        {K::SE, ImageFitModel::FlipMenu, true, false, true, true},
        {K::Standard, ImageFitModel::FlipMain, false, true, false, false},  // no flip buttons
    };
    const Raster picture = probe(320, 293);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " target " << c.target);
        auto f = shown(c.kind, picture);
        f->setUseMainInMenu(c.useMain);
        f->setFlipTarget(c.target);
        c.mirror ? f->flipLeftRight() : f->flipTopBottom();
        Raster turned = picture;
        c.mirror ? turned.mirror() : turned.flip();
        EXPECT_TRUE(f->mainSource.samePixels(c.mainTurned ? turned : picture));
        EXPECT_TRUE(f->menuSource.samePixels(c.menuTurned ? turned : picture));
    }
    // The canvas shows the source as it now is.
    auto f = shown(K::VGA, probe(640, 586));
    f->setFlipTarget(ImageFitModel::FlipMain);
    f->flipTopBottom();
    Raster turned = probe(640, 586);
    turned.flip();
    EXPECT_TRUE(
        f->mainCanvas.samePixels(placed(resized(turned, 320, 0), {320, 293}, Magenta, 0, 0)));
}

// A cancelled colour changes nothing; a chosen one runs the fit again.
// Cancel leaves the document; a dialog never given a picture hands over its
// backgrounds.
TEST_F(ImageFitModelTest, CancelsKeepWhatWasAndOkReplacesTheDocument)
{
    auto f = shown(K::Square, probe(100, 100));
    fit(*f, ResizeMode::FitY);
    const Raster before = f->mainCanvas;
    prompt.cancelColor();
    f->chooseMainBackground();
    EXPECT_EQ(prompt.calls()[1].initialColour, uint32_t(Magenta));
    EXPECT_EQ(f->mainBackColor, Magenta);
    EXPECT_TRUE(f->mainCanvas.samePixels(before));

    prompt.answerColor(Blue);
    f->chooseMainBackground();
    EXPECT_EQ(f->mainCanvas.pixel(0, 0), Blue);

    doc.todayPicture = probe(640, 588);
    EXPECT_TRUE(f->pressButton(ImageFitModel::CancelButton));
    EXPECT_TRUE(doc.todayPicture.samePixels(probe(640, 588)));
    auto empty = make(K::SE);
    EXPECT_TRUE(empty->pressButton(ImageFitModel::OKButton));
    EXPECT_TRUE(doc.todayPicture.samePixels(Raster(320, 293)));
}

TEST_F(ImageFitModelTest, AFitTooLargeToMakeIsReportedAndTheDialogStaysOpen)
{
    // A 16384 x 8 strip at 588 rows would be over a million pixels wide.
    auto f = shown(K::VGA, probe(16384, 8));
    fit(*f, ResizeMode::FitY);
    f->panWindow(QStringLiteral("main"));
    EXPECT_FALSE(f->pressButton(ImageFitModel::OKButton));
    EXPECT_EQ(prompt.messages(),
              (std::vector{
                  okBox("Out of memory\r\r(Error #7)", "Error in frmImage: Sub btnResizing_Click"),
                  okBox("Error in PanWindow: Out of memory"),
                  okBox("Out of memory\r\r(Error #7)", "Error in frmImage: Sub TransferImages")}));
    EXPECT_EQ(f->panOpen, ImageFitModel::Pan::None);
    EXPECT_TRUE(doc.todayPicture.isNull());
}

// Fitting geometry the dialog model does not reach: the edges of the pan
// rectangle and the standard hand-over of a tall picture or none.
TEST(PanRectangle, StaysOnThePicture)
{
    const QSize canvas(640, 588);
    EXPECT_EQ(clampPanPosition({-4, 7}, canvas, {1000, 800}), QPoint(0, 7));
    // Narrower than the canvas: that side cannot move.
    EXPECT_EQ(clampPanPosition({30, 30}, canvas, {600, 800}), QPoint(0, 30));

    const Raster region = panRegion(probe(700, 300), {50, 10}, canvas, Magenta);
    EXPECT_EQ(region.pixel(0, 0), probeColour(50, 10));
    EXPECT_EQ(region.pixel(639, 289), probeColour(689, 299));
    EXPECT_EQ(region.pixel(0, 290), Magenta);
}

TEST(StandardHandOver, CutsATallPictureAtRow293)
{
    const Raster tall = standardHandOver(probe(240, 600), Magenta);
    ASSERT_EQ(tall.height(), 293);
    EXPECT_EQ(tall.pixel(239, 292), probeColour(239, 292));

    const Raster empty = standardHandOver(Raster(), Magenta);
    ASSERT_EQ(empty.width(), 240);
    EXPECT_EQ(empty.pixel(239, 292), Magenta);
}
