// The fitting dialog model: loading, the fits of every variant, panning,
// flips, backgrounds and the hand-over to the document.
#include "app/raster/pictureio.h"
#include "imagefit/frmimage.h"
#include "probe.h"
#include "support/scriptedprompt.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace varno;
using namespace varno::test;

namespace {

using K = ImageDialogKind;
constexpr Colour Blue = RGB(0, 0, 255);

class FitDialog : public ::testing::Test {
protected:
    std::unique_ptr<frmImage> make(K kind)
    {
        return std::make_unique<frmImage>(kind, prompt, doc, settings);
    }
    // A dialog shown with `picture`, main background Magenta.
    std::unique_ptr<frmImage> shown(K kind, const Raster &picture)
    {
        auto f = make(kind);
        prompt.answerColor(Magenta);
        f->oPicMainBack_Click();
        f->StartWith(picture);
        f->Form_Activate();
        return f;
    }
    static void fit(frmImage &f, ResizeMode mode, Justify justify = Justify::Centre)
    {
        f.radSizing_Click(frmImage::SizeImageToFit);
        f.btnResizing_Click(int(mode));
        if (justify != Justify::Centre)
            f.btnJustify_Click(int(justify));
    }
    QString save(const QString &name, const Raster &picture)
    {
        const QString path = dir.filePath(name);
        SavePng(picture, path);
        return path;
    }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    QTemporaryDir dir;
};

RecordedMessage critical(const char *text, const char *title = "Velmora - Error")
{
    return {QString::fromUtf8(text), MsgIcon::Critical, QString::fromUtf8(title), MsgButtons::OK};
}

}  // namespace

TEST_F(FitDialog, FileNamesAreCheckedBeforeLoading)
{
    struct Case {
        const char *name;
        const char *refusal;  // nullptr: loads
    } cases[] = {
        {"a.png", nullptr},  // five characters are enough
        {".png", "Illegal file name!"},
        {"photo.jpeg", nullptr},  // "peg" is in the list
        {"SHOT.PNG", nullptr},
        {"photo.webp", "Unsupported file type!"},
        {"scan.tiff", "Unsupported file type!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompt.clear();
        settings.ImagesPath = QStringLiteral("/before");
        auto f = make(K::SE);
        const QString path = c.refusal ? dir.filePath(QString::fromUtf8(c.name))
                                       : save(QString::fromUtf8(c.name), Probe(30, 20));
        prompt.answerFile(path);
        f->LoadImageMain();
        if (c.refusal) {
            EXPECT_EQ(prompt.messages(), std::vector{critical(c.refusal)});
            EXPECT_TRUE(f->MainSource.isNull());
            EXPECT_EQ(settings.ImagesPath, QStringLiteral("/before"));
        } else {
            EXPECT_TRUE(prompt.messages().empty());
            EXPECT_EQ(f->MainSource.width(), 30);
            EXPECT_EQ(settings.ImagesPath, dir.path());
            EXPECT_EQ(f->radSizing, frmImage::ClipImage);
            EXPECT_EQ(f->MainCanvas.pixel(29, 19), ProbeColour(29, 19));
        }
    }
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.filter, QStringLiteral("All Files|*.*|JPEG|*.jpg|Windows BMP|*.bmp|PNG|*.png|"
                                           "PCX|*.pcx|TGA|*.tga|GIF|*.gif|TIF|*.tif"));
    EXPECT_EQ(asked.initialFolder, QStringLiteral("/before"));
}

TEST_F(FitDialog, ActivationSetsUpOnlyWhenNotReady)
{
    auto f = make(K::SE);
    int enabled = 0;
    QObject::connect(f.get(), &frmImage::changeImagesEnabled, [&](bool on) { enabled += on; });
    f->StartWith(Probe(400, 100));
    f->Form_Activate();
    EXPECT_TRUE(doc.ImageDialogReady);
    EXPECT_EQ(enabled, 1);
    EXPECT_TRUE(f->MenuSource.samePixels(f->MainSource));
    EXPECT_TRUE(f->MainCanvas.samePixels(Placed(Probe(400, 100), {320, 293}, 0, 0, 0)));

    f->StartWith(Probe(10, 10));
    doc.ImageDialogReady = true;  // "Change Current Image(s)": shown as left
    f->Form_Activate();
    EXPECT_EQ(f->MenuSource.width(), 400);
    EXPECT_EQ(enabled, 1);
}

// Worked fits: where the resized picture lands along its free side
// (negative: cut from there).
struct FitCase {
    const char *name;
    K kind;
    int width, height;
    ResizeMode mode;
    Justify justify;
    int along;
};

void PrintTo(const FitCase &c, std::ostream *os)
{
    *os << c.name;
}

class Fits : public FitDialog, public ::testing::WithParamInterface<FitCase> {};

TEST_P(Fits, PlaceTheResizedPicture)
{
    const FitCase &c = GetParam();
    auto f = shown(c.kind, Probe(c.width, c.height));
    fit(*f, c.mode, c.justify);
    const QSize canvas = f->variant().canvas;
    Raster shownPicture = Probe(c.width, c.height);
    if (c.kind == K::VGA)
        shownPicture = Resized(shownPicture, c.width / 2, 0);
    const bool fitX = c.mode == ResizeMode::FitX;
    const Raster scratch =
        fitX ? Resized(shownPicture, canvas.width(), 0) : Resized(shownPicture, 0, canvas.height());
    EXPECT_TRUE(f->MainCanvas.samePixels(
        Placed(scratch, canvas, Magenta, fitX ? 0 : c.along, fitX ? c.along : 0)));
    EXPECT_TRUE(prompt.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Worked, Fits,
    ::testing::Values(
        FitCase{"Se640x480FitXCentre", K::SE, 640, 480, ResizeMode::FitX, Justify::Centre, 26},
        FitCase{"Se400x700FitXCentre", K::SE, 400, 700, ResizeMode::FitX, Justify::Centre, -134},
        FitCase{"Se400x700FitXTop", K::SE, 400, 700, ResizeMode::FitX, Justify::Start, 0},
        FitCase{"Se400x700FitXBottom", K::SE, 400, 700, ResizeMode::FitX, Justify::End, -267},
        FitCase{"Se320x240FitXBottom", K::SE, 320, 240, ResizeMode::FitX, Justify::End, 53},
        FitCase{"Se327WideFitYCentre", K::SE, 327, 293, ResizeMode::FitY, Justify::Centre, -3},
        FitCase{"Se100x400FitYRight", K::SE, 100, 400, ResizeMode::FitY, Justify::End, 247},
        FitCase{"Standard100x400FitY", K::Standard, 100, 400, ResizeMode::FitY, Justify::Centre,
                83},
        FitCase{"Square480x360FitX", K::Square, 480, 360, ResizeMode::FitX, Justify::Centre, 17},
        FitCase{"VgaHalfScaleFitX", K::VGA, 1000, 800, ResizeMode::FitX, Justify::Centre, 18}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FitDialog, StandardFitYCoversEveryRowAndFitXIsPlacedOnOK)
{
    auto f = shown(K::Standard, Probe(200, 100));
    fit(*f, ResizeMode::FitY);
    ASSERT_EQ(f->MainCanvas.height(), 293);
    for (int y = 0; y < 293; ++y)
        for (int x : {0, 239})
            ASSERT_NE(f->MainCanvas.pixel(x, y), Magenta) << x << "," << y;

    // "Fit to X" keeps the height it comes to; OK lays it on the screen.
    f = shown(K::Standard, Probe(480, 360));
    fit(*f, ResizeMode::FitX);
    EXPECT_EQ(f->MainCanvas.height(), 180);
    ASSERT_TRUE(f->btnButton_Click(frmImage::OKButton));
    EXPECT_TRUE(doc.LEADMain.samePixels(
        Placed(Resized(Probe(480, 360), 240, 0), {240, 293}, Magenta, 0, 0)));
}

TEST_F(FitDialog, VgaHandsOverAFullScaleFit)
{
    auto f = shown(K::VGA, Probe(1000, 800));
    fit(*f, ResizeMode::FitX);
    ASSERT_TRUE(f->btnOK_Click());
    // 640 x 512 centred on 588 rows: (588 - 512) / 2.
    EXPECT_TRUE(doc.LEADMain.samePixels(
        Placed(Resized(Probe(1000, 800), 640, 0), {640, 588}, Magenta, 0, 38)));
    // The menu keeps its own picture, unscaled, on its black background.
    EXPECT_TRUE(doc.LEADMenu.samePixels(Placed(Probe(1000, 800), {640, 588}, 0, 0, 0)));
}

TEST_F(FitDialog, VgaHandsOverThePannedRegions)
{
    auto f = shown(K::VGA, Probe(1000, 800));
    f->PanWindow(QStringLiteral("main"));
    ASSERT_EQ(f->PanOpen, frmImage::Pan::Main);
    EXPECT_FALSE(f->btnButtonEnabled[frmImage::PanMainImage]);
    EXPECT_FALSE(f->btnButtonEnabled[frmImage::PanMenuImage]);
    f->leadpanwin_PanWin(100, 50);
    EXPECT_EQ(f->PanRect, QRect(100, 50, 640, 588));
    EXPECT_EQ(f->MainCanvas.width(), 320);
    f->PanWindow_Close();
    EXPECT_TRUE(f->btnButtonEnabled[frmImage::PanMenuImage]);

    f->PanWindow(QStringLiteral("menu"));
    f->leadpanwin_PanWin(5000, 5000);  // held at the picture's corner
    EXPECT_EQ(f->PanRect.topLeft(), QPoint(360, 212));
    f->PanWindow_Close();

    ASSERT_TRUE(f->btnOK_Click());
    for (const QPoint p : {QPoint(0, 0), QPoint(639, 587), QPoint(300, 200)}) {
        EXPECT_EQ(doc.LEADMain.pixel(p.x(), p.y()), ProbeColour(p.x() + 100, p.y() + 50));
        EXPECT_EQ(doc.LEADMenu.pixel(p.x(), p.y()), ProbeColour(p.x() + 360, p.y() + 212));
    }

    // Clearing forgets the pan: the hand-over is the background alone.
    f->ClearImage(false);
    ASSERT_TRUE(f->btnOK_Click());
    EXPECT_EQ(doc.LEADMain.pixel(639, 587), Magenta);
    EXPECT_FALSE(f->MainPanned);
}

TEST_F(FitDialog, UseMainInMenuRepeatsEachFitOnTheMenuBackground)
{
    auto f = shown(K::SE, Probe(320, 240));
    prompt.answerColor(Blue);
    f->oPicMenuBack_Click();
    EXPECT_EQ(f->MenuCanvas.pixel(0, 292), Blue);
    f->ckbUseMain_Click(true);
    EXPECT_FALSE(f->btnButtonEnabled[frmImage::LoadMenuImage]);
    fit(*f, ResizeMode::FitX, Justify::End);
    EXPECT_FALSE(f->btnButtonEnabled[frmImage::PanMenuImage]);
    EXPECT_TRUE(f->MenuCanvas.samePixels(Placed(Probe(320, 240), {320, 293}, Blue, 0, 53)));
    EXPECT_TRUE(f->MainCanvas.samePixels(Placed(Probe(320, 240), {320, 293}, Magenta, 0, 53)));
    ASSERT_TRUE(f->btnOK_Click());
    EXPECT_TRUE(doc.LEADMenu.samePixels(f->MenuCanvas));

    // Unticked, the menu keeps what it shows and its buttons come back.
    f->ckbUseMain_Click(false);
    EXPECT_TRUE(f->btnButtonEnabled[frmImage::LoadMenuImage]);
    EXPECT_EQ(f->MenuCanvas.pixel(0, 0), Blue);
}

TEST_F(FitDialog, FlipsTurnTheChosenSourceAndRebuild)
{
    struct Case {
        K kind;
        int target;
        bool useMain, mirror;
        bool mainTurned, menuTurned;
    } cases[] = {
        {K::SE, frmImage::FlipMenu, false, true, false, true},
        {K::Square, frmImage::FlipMain, false, false, true, false},
        {K::SE, frmImage::FlipMain, true, true, true, true},
        {K::VGA, frmImage::FlipMain, false, false, true, false},
        {K::Standard, frmImage::FlipMain, false, true, false, false},  // no flip buttons
    };
    const Raster picture = Probe(640, 586);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " target " << c.target);
        auto f = shown(c.kind, picture);
        f->ckbUseMain_Click(c.useMain);
        f->radFlip_Click(c.target);
        c.mirror ? f->btnFlipLeftRight_Click() : f->btnFlipTopBottom_Click();
        Raster turned = picture;
        c.mirror ? turned.mirror() : turned.flip();
        EXPECT_TRUE(f->MainSource.samePixels(c.mainTurned ? turned : picture));
        EXPECT_TRUE(f->MenuSource.samePixels(c.menuTurned ? turned : picture));
        // The canvases show the sources as they now are.
        const QSize canvas = f->variant().canvas;
        if (c.kind == K::VGA) {
            EXPECT_TRUE(f->MainHalf.samePixels(Resized(turned, 320, 0)));
            EXPECT_TRUE(f->MainCanvas.samePixels(Placed(f->MainHalf, canvas, Magenta, 0, 0)));
        } else {
            EXPECT_TRUE(f->MainCanvas.samePixels(Placed(f->MainSource, canvas, Magenta, 0, 0)));
            EXPECT_TRUE(
                f->MenuCanvas.samePixels(Placed(f->MenuSource, canvas, RGB(0, 0, 0), 0, 0)));
        }
    }
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(FitDialog, BackgroundColourAndItsCancel)
{
    auto f = shown(K::Square, Probe(100, 100));
    EXPECT_EQ(prompt.calls()[0].fullOpen, true);
    fit(*f, ResizeMode::FitY);
    const Raster before = f->MainCanvas;
    prompt.cancelColor();
    prompt.cancelColor();
    f->oPicMainBack_Click();
    f->oPicMenuBack_Click();
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(prompt.calls()[1].initialColour, uint32_t(Magenta));
    EXPECT_EQ(f->MainBackColor, Magenta);
    EXPECT_EQ(f->MenuBackColor, RGB(0, 0, 0));
    EXPECT_TRUE(f->MainCanvas.samePixels(before));

    prompt.answerColor(Blue);
    f->oPicMainBack_Click();
    EXPECT_EQ(f->MainCanvas.pixel(0, 0), Blue);  // the fit is run again
}

TEST_F(FitDialog, CancelLeavesTheDocumentAndOKReplacesIt)
{
    doc.LEADMain = Probe(640, 588);
    doc.LEADMenu = Probe(640, 588);
    auto f = shown(K::SE, Probe(20, 20));
    EXPECT_TRUE(f->btnButton_Click(frmImage::CancelButton));
    EXPECT_TRUE(doc.LEADMain.samePixels(Probe(640, 588)));

    // A dialog never given a picture hands over its backgrounds.
    auto empty = make(K::SE);
    EXPECT_TRUE(empty->btnButton_Click(frmImage::OKButton));
    EXPECT_TRUE(doc.LEADMain.samePixels(Raster(320, 293)));
    EXPECT_EQ(doc.LEADMenu.width(), 320);
}

TEST_F(FitDialog, AFitTooLargeToMakeIsReportedAndTheDialogStaysOpen)
{
    // A 16384 x 8 strip at 588 rows would be over a million pixels wide.
    auto f = shown(K::VGA, Probe(16384, 8));
    fit(*f, ResizeMode::FitY);
    f->PanWindow(QStringLiteral("main"));
    EXPECT_FALSE(f->btnButton_Click(frmImage::OKButton));
    EXPECT_EQ(prompt.messages(), (std::vector{critical("Out of memory\r\r(Error #7)",
                                                       "Error in frmImage: Sub btnResizing_Click"),
                                              critical("Error in PanWindow: Out of memory"),
                                              critical("Out of memory\r\r(Error #7)",
                                                       "Error in frmImage: Sub TransferImages")}));
    EXPECT_EQ(f->PanOpen, frmImage::Pan::None);
    EXPECT_TRUE(doc.LEADMain.isNull());
}
