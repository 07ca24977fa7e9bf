// The main window's way into the fitting dialogs: which dialog a profile
// opens, what OK and Cancel leave behind, "Change Current Image(s)", and a
// theme's own Today picture as the dialog's source.
#include "app/raster/pictureio.h"
#include "editortest.h"

#include <gtest/gtest.h>

using namespace varno;

namespace {

class ImageCommands : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // The dialog as a user would work it: shown (activated), then a
        // button; the script says which.
        window->ShowImageDialog = [this](frmImage &dialog) {
            shown.push_back(&dialog);
            dialog.Form_Activate();
            // True only when OK closed it, as the real dialog reports.
            return dialog.btnButton_Click(pressOk ? frmImage::OKButton : frmImage::CancelButton) &&
                   pressOk;
        };
        screen.requests.clear();
    }
    QString picture(int width, int height, Colour colour)
    {
        Raster r(width, height);
        r.fill(colour);
        const QString path = box.file(QStringLiteral("pic%1x%2.png").arg(width).arg(height));
        SavePng(r, path);
        return path;
    }

    std::vector<frmImage *> shown;
    bool pressOk = true;
};

}  // namespace

TEST_F(ImageCommands, EachProfileOpensItsDialogAndOkHandsOverItsCanvases)
{
    const struct {
        void (frmMain::*command)();
        ImageDialogKind kind;
        QSize handedOver;
    } cases[] = {{&frmMain::mnuNewStandard_Click, ImageDialogKind::Standard, {240, 293}},
                 {&frmMain::mnuNewQVGA_Click, ImageDialogKind::SE, {320, 293}},
                 {&frmMain::mnuNewWM5VGA_Click, ImageDialogKind::VGA, {640, 588}},
                 {&frmMain::mnuNewSQ240_Click, ImageDialogKind::Square, {240, 214}}};
    const QString file = picture(100, 50, RGB(10, 200, 30));
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        (window.get()->*c.command)();
        shown.clear();
        screen.requests.clear();
        prompt.answerFile(file);
        EXPECT_TRUE(window->LoadImages());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->variant().kind, c.kind);
        EXPECT_EQ(shown[0], &window->ImageDialog(c.kind));
        EXPECT_EQ(QSize(module.Doc.LEADMain.width(), module.Doc.LEADMain.height()), c.handedOver);
        EXPECT_EQ(module.Doc.LEADMain.pixel(99, 49), RGB(10, 200, 30));
        EXPECT_EQ(module.Doc.LEADMenu.pixel(0, 0), RGB(10, 200, 30));
        EXPECT_EQ(screen.requests, QStringList{QStringLiteral("DoScreenMain MAIN")});
        EXPECT_EQ(module.Settings.ImagesPath, box.path());
    }
}

TEST_F(ImageCommands, CancelOrARefusedFileChangesNothing)
{
    const Raster before = module.Doc.LEADMain;
    pressOk = false;
    prompt.answerFile(picture(30, 30, RGB(1, 1, 1)));
    EXPECT_TRUE(window->LoadImages());
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(module.Doc.LEADMain.samePixels(before));
    EXPECT_TRUE(screen.requests.isEmpty());

    // A cancelled file dialog or a name the dialogs refuse: nothing shows.
    prompt.cancelFile();
    EXPECT_FALSE(window->LoadImages());
    prompt.answerFile(box.file(QStringLiteral("a.gi")));
    EXPECT_FALSE(window->LoadImages());
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(ImageCommands, ChangeCurrentImagesOnlyWhileADialogHoldsPictures)
{
    window->mnuChangeImages_Click();
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(window->view().changeImagesEnabled);

    pressOk = false;
    prompt.answerFile(picture(40, 40, RGB(5, 6, 7)));
    window->mnuLoadImages_Click();
    EXPECT_TRUE(window->view().changeImagesEnabled);
    window->btnChangeImages_Click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], shown[0]);  // the same dialog, as it was left

    // A new theme closes the dialog, and with it the command.
    window->mnuNewQVGA_Click();
    EXPECT_FALSE(window->view().changeImagesEnabled);
    window->mnuChangeImages_Click();
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ImageCommands, ThemesTodayPictureBecomesTheDialogsSource)
{
    window->mnuNewQVGA_Click();
    prompt.answerFile(picture(320, 294, RGB(90, 40, 200)));
    window->mnuLoadImages_Click();
    window->setThemeName(QStringLiteral("Violet"));
    const QString theme = module.Settings.TSKPath + QStringLiteral("Violet.tsk");
    prompt.answerFile(theme);
    window->mnuSaveThemeLow_Click();
    prompt.clear();

    window->mnuNewVGA_Click();
    shown.clear();
    prompt.answerFile(theme);
    pressOk = false;
    EXPECT_TRUE(window->mnuLoadImageFromTheme_Click());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->variant().kind, ImageDialogKind::VGA);
    EXPECT_EQ(shown[0]->MainSource.width(), 320);
    EXPECT_EQ(shown[0]->MainSource.pixel(100, 100), RGB(90, 40, 200));
}
