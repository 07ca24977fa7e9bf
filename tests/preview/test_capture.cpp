// Captures of the device screen and the export of the theme's pictures.
#include "app/raster/pictureio.h"
#include "colour/colortable.h"
#include "preview/capture.h"
#include "support/scriptedprompt.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths.appFolder = home.path();
        QDir().mkpath(paths.folder("pt"));
        QDir().mkpath(paths.folder("capture"));
        settings.captureFolder = paths.defaultFolder("capture");
        settings.imagesFolder = home.path() + "/";
        settings.todayText = "all";
        doc.colours.colors = defaultThemeColors();
        doc.currentThemeName = "Sky";
    }
    void profile(const char *type)
    {
        doc.themeType = type;
        screen.showDefaultScreen();
    }
    QSize sizeOf(const QString &path) const { return QImageReader(path).size(); }

    QTemporaryDir home;
    AppPaths paths;
    AppSettings settings;
    ThemeDocument doc;
    ScriptedPrompt prompt;
    DeviceScreen screen{prompt, doc, settings};
    CaptureContext ctx{prompt, screen, doc, settings, paths};
};

}  // namespace

TEST_F(CaptureTest, KindsCropAndScalePerProfileAndFailuresAreNamed)
{
    const struct {
        const char *type;
        int kind;
        QSize size;
    } cases[] = {{"QVGA", CaptureMain, {240, 320}},
                 {"QVGA", CaptureMenu, {240, 320}},
                 {"QVGA", CaptureThumbnail, {120, 160}},
                 {"SQ240", CaptureLandscape, {240, 240}}};
    const QString file = settings.captureFolder + "Sky.jpg";
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.kind));
        profile(c.type);
        ASSERT_TRUE(screenCapture(ctx, c.kind));
        // Every kind writes the same name: the last one wins.
        EXPECT_EQ(sizeOf(file), c.size);
        EXPECT_EQ(screen.menuShowing, c.kind == CaptureMenu);
    }

    // A folder that is gone: the error names the procedure.
    settings.captureFolder = home.filePath("missing/");
    EXPECT_FALSE(screenCapture(ctx, CaptureMain));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title,
              QStringLiteral("Error in frmMain: Function ScreenCapture"));
}

TEST_F(CaptureTest, TheChosenFileSetsFolderAndName)
{
    profile("QVGA");
    const QString caps = home.filePath("caps");
    QDir().mkpath(caps);
    prompt.answerFile(caps + "/shot.png");
    captureToChosenFile(ctx, CaptureMain, "mnuScreenCaptureMain_Click");
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.title, QStringLiteral("Save Theme Screen Capture"));
    EXPECT_EQ(asked.initialFolder, paths.defaultFolder("capture"));
    EXPECT_EQ(asked.fileName, QStringLiteral("Sky"));
    EXPECT_EQ(settings.captureFolder, caps + "/");
    EXPECT_EQ(QDir(caps).entryList(QDir::Files), QStringList{"shot.jpg"});

    prompt.cancelFile();
    captureToChosenFile(ctx, CaptureMain, "mnuScreenCaptureMain_Click");
    EXPECT_EQ(doc.currentThemeName, QStringLiteral("shot"));
}

TEST_F(CaptureTest, UploadShotAndPictureExport)
{
    profile("SQ240");
    const QString shot = screenCaptureForTransfer(ctx);
    EXPECT_EQ(shot, paths.folder("pt") + "/Sky.jpg");
    EXPECT_EQ(sizeOf(shot), QSize(240, 240));

    prompt.answerFile(home.filePath("main-picture"));
    saveThemePicture(ctx, false);
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.title, QStringLiteral("Save Main Image"));
    EXPECT_EQ(asked.initialFolder, settings.imagesFolder);
    // Saved whole; a name without the filter's extension gets it.
    EXPECT_EQ(sizeOf(home.filePath("main-picture.png")), QSize(640, 588));
    EXPECT_EQ(QImageReader(home.filePath("main-picture.png")).format(), QByteArray("png"));
    prompt.answerFile(home.filePath("menu.PNG"));
    saveThemePicture(ctx, true);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files),
              (QStringList{"main-picture.png", "menu.PNG"}));
}
