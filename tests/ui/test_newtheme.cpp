// The seven new-theme commands and what the window shows after each.
#include "editortest.h"

#include <QImage>

using namespace varno;

namespace {

class NewTheme : public varno::test::EditorTest<RecordingScreen> {
protected:
    // Opens the four fitting dialogs, recording which ones are closed.
    void openAllDialogs()
    {
        for (int i = 0; i < 4; ++i)
            QObject::connect(&window->fitModel(static_cast<ImageDialogKind>(i)),
                             &QObject::destroyed, [this, i] { closed.push_back(i); });
    }
};

using NewThemeDrawn = varno::test::EditorTest<PreviewScreen>;

}  // namespace

// What each profile is, is the profile table's; here, that the window shows it.
TEST_F(NewTheme, EachCommandSetsProfileAndIndicators)
{
    for (int profile = 0; profile < ProfileCount; ++profile) {
        SCOPED_TRACE(profile);
        const DeviceProfile &p = profiles()[profile];
        window->newTheme(profile);
        const MainView &v = window->view();
        EXPECT_EQ(module.doc.themeType, QString::fromLatin1(p.themeType));
        EXPECT_EQ(module.doc.wm5Theme, p.wm5Theme);
        EXPECT_EQ(v.checkedProfile, profile);
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(v.newThemePressed[b], b == p.pressedButton) << b;
        EXPECT_EQ(v.landscapeVisible, p.landscape);
    }
}

TEST_F(NewTheme, StartsAfreshAndClosesAllButTheSquareDialog)
{
    window->setThemeName(QStringLiteral("Old Name"));
    module.doc.imageDialogReady = true;
    module.doc.colours.colors[NavBarLeft] = rgb(1, 2, 3);
    module.doc.colours.main = {200, rgb(9, 9, 9), true};
    openAllDialogs();
    window->newTheme(4);
    EXPECT_FALSE(module.doc.imageDialogReady);
    EXPECT_EQ(window->view().themeNameText, QString());
    EXPECT_EQ(closed, (std::vector<int>{0, 1, 2}));
    // Default colours, a fresh undo point and no overlays, then the drawing.
    EXPECT_EQ(module.doc.colours.colors[NavBarLeft], rgb(0, 128, 255));
    EXPECT_EQ(module.doc.colours.colorSnapshot, module.doc.colours.colors);
    EXPECT_EQ(module.doc.colours.main, TransparencyOverlay{});
    EXPECT_EQ(screen.requests, QStringList{QStringLiteral("LoadDefault")});
}

// What exit stores is checked by the start-up tests.
TEST_F(NewTheme, ExitClosesTheDialogsInOrderAndReleasesTheSettings)
{
    openAllDialogs();
    bool closeSeen = false;
    QObject::connect(window.get(), &Editor::closeRequested, [&] { closeSeen = true; });
    window->quit();
    EXPECT_TRUE(closeSeen);
    EXPECT_EQ(closed, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(module.registry, nullptr);
}

TEST_F(NewThemeDrawn, CaptureButtonChoosesTheKindAndThePreviewStaysAsItWas)
{
    // Captures draw views of their own; the message box open before is
    // shown, and acted on, again after each.
    screen.screen().clock = [] { return QDateTime(QDate(2024, 5, 6), QTime(9, 30)); };
    window->drawScreen(QStringLiteral("MESSAGE"));
    const Raster shown = screen.screen().portraitScreen;
    const struct {
        int button;
        QSize size;
    } cases[] = {{0, {240, 320}}, {1, {120, 160}}, {2, {240, 320}}, {3, {320, 240}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        window->setCaptureKind(c.button);
        prompt.answerFile(box.file(QStringLiteral("shot.jpg")));
        window->captureChosenKind();
        EXPECT_EQ(QImage(box.file(QStringLiteral("shot.jpg"))).size(), c.size);
        EXPECT_FALSE(window->view().menuShowing);
        EXPECT_TRUE(window->view().messageShowing);
        EXPECT_TRUE(screen.screen().portraitScreen.samePixels(shown));
    }
    EXPECT_TRUE(prompt.messages().empty());
}
