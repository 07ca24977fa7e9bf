// The main window's way into the fitting dialogs: which dialog a profile
// opens, what OK and Cancel leave behind, "Change Current Image(s)", and a
// theme's own Today picture as the dialog's source.
#include "app/raster/pictureio.h"
#include "editortest.h"

using namespace varno;

namespace {

class ImageCommands : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // The dialog as a user would work it: shown (activated), then a
        // button; the script says which.
        window->runFitDialog = [this](ImageFitModel &dialog) {
            shown.push_back(&dialog);
            dialog.activate();
            // True only when OK closed it, as the real dialog reports.
            return dialog.pressButton(pressOk ? ImageFitModel::OKButton
                                              : ImageFitModel::CancelButton) &&
                   pressOk;
        };
    }
    QString picture(int width, int height, Colour colour)
    {
        const QString path = box.file(QStringLiteral("pic%1x%2.png").arg(width).arg(height));
        savePng(varno::test::filled(width, height, colour), path);
        return path;
    }

    std::vector<ImageFitModel *> shown;
    bool pressOk = true;
};

}  // namespace

TEST_F(ImageCommands, EachProfileOpensItsDialogAndOkHandsOverItsCanvases)
{
    const struct {
        int profile;
        ImageDialogKind kind;
        QSize handedOver;
    } cases[] = {{0, ImageDialogKind::Standard, {240, 293}},
                 {1, ImageDialogKind::SE, {320, 293}},
                 {5, ImageDialogKind::VGA, {640, 588}},
                 {3, ImageDialogKind::Square, {240, 214}}};
    const QString file = picture(100, 50, rgb(10, 200, 30));
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        window->newTheme(c.profile);
        shown.clear();
        screen.requests.clear();
        prompt.answerFile(file);
        EXPECT_TRUE(window->loadImages());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], &window->fitModel(c.kind));
        EXPECT_EQ(QSize(module.doc.todayPicture.width(), module.doc.todayPicture.height()),
                  c.handedOver);
        EXPECT_EQ(module.doc.menuPicture.pixel(99, 49), rgb(10, 200, 30));
        EXPECT_EQ(screen.requests, QStringList{QStringLiteral("DoScreenMain MAIN")});
    }
}

// Cancel changes nothing; "Change Current Image(s)" reopens the same
// dialog until a new theme closes it.
TEST_F(ImageCommands, CancelKeepsTheDialogForChangeCurrentImages)
{
    window->changeImages();
    EXPECT_TRUE(shown.empty());
    const Raster before = module.doc.todayPicture;
    pressOk = false;
    prompt.answerFile(picture(30, 30, rgb(1, 1, 1)));
    EXPECT_TRUE(window->loadImages());
    EXPECT_TRUE(module.doc.todayPicture.samePixels(before));
    EXPECT_TRUE(screen.requests.isEmpty());
    EXPECT_TRUE(window->view().changeImagesEnabled);
    window->changeImages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], shown[0]);

    // A name the dialogs refuse shows nothing.
    prompt.answerFile(box.file(QStringLiteral("a.gi")));
    EXPECT_FALSE(window->loadImages());
    EXPECT_EQ(shown.size(), 2u);

    window->newTheme(1);
    EXPECT_FALSE(window->view().changeImagesEnabled);
    window->changeImages();
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ImageCommands, ThemesTodayPictureBecomesTheDialogsSource)
{
    window->newTheme(1);
    prompt.answerFile(picture(320, 294, rgb(90, 40, 200)));
    window->loadImages();
    window->setThemeName(QStringLiteral("Violet"));
    const QString theme = module.settings.themesFolder + QStringLiteral("Violet.tsk");
    prompt.answerFile(theme);
    window->saveUncompressed();
    prompt.clear();

    window->newTheme(2);
    shown.clear();
    prompt.answerFile(theme);
    pressOk = false;
    EXPECT_TRUE(window->loadImageFromTheme());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->variant().kind, ImageDialogKind::VGA);
    EXPECT_EQ(shown[0]->mainSource.pixel(319, 100), rgb(90, 40, 200));
}

// A file Load Image(s) refuses opens nothing, but the status bar says why.
TEST_F(ImageCommands, ARefusedPictureIsNamedInTheStatusBar)
{
    QStringList notes;
    QObject::connect(window.get(), &Editor::statusMessage,
                     [&](const QString &text) { notes << text; });
    prompt.answerFile(box.file("notes.txt"));
    EXPECT_FALSE(window->loadImages());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(notes, QStringList{"The file was not loaded: Unsupported file type!"});
}
