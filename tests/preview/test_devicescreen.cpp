// The simulated device screen: pixel probes of where each element lands and
// in which colour, whole screens against committed pictures, the device
// text column by column, and captures and picture export.
#include "app/raster/pictureio.h"
#include "colour/colortable.h"
#include "preview/capture.h"
#include "preview/devicescreen.h"
#include "support/rasters.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"

#include <QImageReader>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

// The screen as the golden pictures were made: names, date and locale fixed.
class DeviceScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.colours.colors = defaultThemeColors();
        settings.todayText = "all";
        settings.name1 = "Glintory";
        settings.name2 = "glintory.net";
        settings.name3 = "www.velmora.net";
        screen.clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(10, 30)); };
        screen.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    }
    // A main picture in one colour, as a fitted theme would hold it.
    void flatPicture(Colour c)
    {
        doc.todayPicture = doc.menuPicture = varno::test::filled(640, 588, c);
    }
    void draw(const QString &view, const QString &type = "QVGA", bool wm5 = false)
    {
        doc.themeType = type;
        doc.wm5Theme = wm5;
        screen.drawScreen(view);
        ASSERT_TRUE(prompt.messages().empty()) << prompt.messages()[0].text.toStdString();
    }
    const Raster &portrait() const { return screen.portraitScreen; }
    const Raster &landscape() const { return screen.landscapeScreen; }

    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    DeviceScreen screen{prompt, doc, settings};
};

struct GoldenCase {
    const char *name;
    const char *type;
    bool wm5;
    const char *view;
    bool landscape;
};

class Golden : public DeviceScreenTest, public ::testing::WithParamInterface<GoldenCase> {};

// Share of pixels that differ by more than `tolerance` in any channel.
double differingShare(const QImage &a, const QImage &b, int tolerance)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance ||
                std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

// Which columns of `r` hold an `ink` pixel, from the first to the last that does.
std::vector<bool> inkedColumns(const Raster &r, Colour ink)
{
    std::vector<bool> inked;
    for (int x = 0; x < r.width(); ++x) {
        bool any = false;
        for (int y = 0; y < r.height() && !any; ++y)
            any = r.pixel(x, y) == ink;
        if (any || !inked.empty())
            inked.push_back(any);
    }
    while (!inked.empty() && !inked.back())
        inked.pop_back();
    return inked;
}

// Widths of the runs of blank columns between inked ones.
std::vector<int> blankRuns(const std::vector<bool> &inked)
{
    std::vector<int> runs;
    for (size_t x = 0; x < inked.size(); ++x)
        if (!inked[x])
            inked[x - 1] ? runs.push_back(1) : void(++runs.back());
    return runs;
}

class CaptureTest : public DeviceScreenTest {
protected:
    void SetUp() override
    {
        DeviceScreenTest::SetUp();
        paths.appFolder = home.path();
        QDir().mkpath(paths.folder("capture"));
        settings.captureFolder = paths.defaultFolder("capture");
        settings.imagesFolder = home.path() + "/";
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
    CaptureContext ctx{prompt, screen, doc, settings, paths};
};

}  // namespace

// The title ramp, column x red x, under the title overlay; the command bar's
// black top line, then its colour. VGA pictures are halved, and its
// landscape bars widen: 320 columns of ramp, 0.75 a step.
TEST_F(DeviceScreenTest, TitleRampCommandBarAndHalvedVgaPictures)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 255));
    doc.todayPicture.selectRect(0, 0, 320, 588);
    doc.todayPicture.fill(rgb(255, 0, 0));
    doc.todayPicture.clearSelection();
    doc.colours.colors[NavBarLeft] = rgb(0, 0, 0);
    doc.colours.colors[NavBarRight] = rgb(240, 0, 0);
    doc.colours.colors[CommandBar] = rgb(5, 6, 7);
    const struct {
        const char *type;
        int height, barTop;
    } profiles[] = {{"QVGA", 320, 296}, {"SQ240", 240, 214}, {"VGA", 320, 296}};
    for (const auto &p : profiles) {
        SCOPED_TRACE(p.type);
        draw("MAIN", p.type);
        ASSERT_EQ(portrait().height(), p.height);
        EXPECT_EQ(portrait().pixel(17, 27), rgb(17, 0, 0));
        EXPECT_EQ(portrait().pixel(200, p.barTop), rgb(0, 0, 0));
        EXPECT_EQ(portrait().pixel(200, p.barTop + 1), rgb(5, 6, 7));
        EXPECT_EQ(portrait().pixel(100, 200), rgb(255, 0, 0));
    }
    EXPECT_EQ(landscape().pixel(300, 216), rgb(0, 0, 0));
    EXPECT_EQ(landscape().pixel(300, 239), rgb(5, 6, 7));
    EXPECT_EQ(landscape().pixel(319, 27), rgb(239, 0, 0));
    EXPECT_EQ(landscape().pixel(310, 200), rgb(0, 0, 255));
    // A new picture is halved afresh, not taken from the last one's copy.
    flatPicture(rgb(0, 255, 0));
    draw("MAIN", "VGA");
    EXPECT_EQ(landscape().pixel(310, 200), rgb(0, 255, 0));
}

TEST_F(DeviceScreenTest, TodayOverlayBlendsUnderTheBars)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 0));
    doc.colours.main = {130, rgb(255, 255, 255), true};
    draw("MAIN");
    EXPECT_EQ(portrait().pixel(120, 200), rgb(130, 130, 130));
    EXPECT_EQ(landscape().pixel(300, 100), rgb(130, 130, 130));
    EXPECT_EQ(portrait().pixel(200, 300), doc.colours.colors[CommandBar]);
}

// Each mode drops more: meetings go with "notm" kept, tasks with "notmm".
TEST_F(DeviceScreenTest, TodayItemsByMode)
{
    flatPicture(rgb(0, 0, 0));
    doc.colours.colors[TodayLines] = rgb(0, 255, 255);
    const struct {
        const char *mode;
        bool line49, line79, line136;
    } modes[] = {{"all", true, true, true},
                 {"notm", true, true, false},
                 {"notmm", true, false, false},
                 {"none", false, false, false}};
    for (const auto &m : modes) {
        SCOPED_TRACE(m.mode);
        settings.todayText = m.mode;
        draw("MAIN");
        EXPECT_EQ(portrait().pixel(239, 49) == rgb(0, 255, 255), m.line49);
        EXPECT_EQ(portrait().pixel(239, 79) == rgb(0, 255, 255), m.line79);
        EXPECT_EQ(portrait().pixel(239, 136) == rgb(0, 255, 255), m.line136);
    }
}

TEST_F(DeviceScreenTest, SquareLandscapeKeptButRefreshedByLoadDefault)
{
    doc.themeType = "SQ240";
    screen.showDefaultScreen();
    const Raster before = landscape();
    doc.colours.colors[CommandBar] = rgb(1, 2, 3);
    draw("MAIN", "SQ240");
    EXPECT_TRUE(landscape().samePixels(before));
    EXPECT_EQ(portrait().pixel(230, 235), rgb(1, 2, 3));
}

TEST_F(DeviceScreenTest, TrayNeverTakesTheKeyColour)
{
    flatPicture(rgb(0, 0, 0));
    doc.colours.colors[NavTray] = rgb(0, 255, 0);
    draw("MAIN");
    const Colour titleLeft = portrait().pixel(100, 20), titleRight = portrait().pixel(200, 20);
    draw("NAVIGATION");
    EXPECT_EQ(doc.colours.colors[NavTray], rgb(1, 255, 0));
    // Around the notification tab the title bar shows through.
    EXPECT_EQ(portrait().pixel(100, 20), titleLeft);
    EXPECT_EQ(portrait().pixel(200, 20), titleRight);
}

TEST_F(DeviceScreenTest, MenuPanelShowsPictureOverlayAndWhiteBase)
{
    settings.todayText = "none";
    flatPicture(rgb(0, 0, 0));
    doc.menuPicture = Raster(100, 100);
    doc.menuPicture.fill(rgb(200, 0, 0));
    draw("MENU");
    EXPECT_TRUE(screen.menuShowing);
    // Left of the names the picture shows; beyond it the white base.
    EXPECT_EQ(portrait().pixel(90, 28 + 22), rgb(200, 0, 0));
    EXPECT_EQ(portrait().pixel(140, 28 + 200), rgb(255, 255, 255));

    doc.colours.menu = {255, rgb(0, 0, 99), true};
    draw("MENU");
    EXPECT_EQ(portrait().pixel(140, 28 + 200), rgb(0, 0, 99));
    EXPECT_EQ(screen.overlaySwatch, rgb(0, 0, 99));
    draw("MAIN");
    EXPECT_FALSE(screen.menuShowing);
}

// The font's own 8- and 9-point glyphs, each at its own advance, leave one
// blank column between the letters of a word: no "Sun day" or "Decem ber".
// Kerning still applies: "V" and "o" close up.
TEST(DeviceText, LettersOfAWordSitOneColumnApart)
{
    loadDeviceFonts();
    const struct {
        const char *word;
        bool bold;
        double points;
        std::vector<int> gaps;
    } cases[] = {{"Sunday", true, 8, {1, 1, 1, 1, 1}},
                 {"December", true, 8, {1, 1, 1, 1, 1, 1, 1}},
                 {"Owner", true, 8, {1, 1, 1, 1}},
                 {"Games", true, 8, {1, 1, 1, 1}},
                 {"Programs", true, 8, {1, 1, 1, 1, 1, 1, 1}},
                 {"Meeting", false, 8, {1, 1, 1, 1, 1, 1}},
                 {"Volume", true, 9, {1, 1, 1, 1}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.word);
        Raster r(100, 20);
        r.fill(rgb(255, 255, 255));
        r.drawText(2, 2, QString::fromLatin1(c.word), deviceFont(rgb(0, 0, 0), c.bold, c.points));
        EXPECT_EQ(blankRuns(inkedColumns(r, rgb(0, 0, 0))), c.gaps);
    }
}

// The volume box's caption is 9-point bold: 45 columns wide, 39 at 8 points.
TEST_F(DeviceScreenTest, VolumeCaptionIsNinePoint)
{
    loadDeviceFonts();
    doc.colours.colors[DialogText] = rgb(255, 0, 255);
    screen.placeMessageBox(QStringLiteral("message"), 240);
    EXPECT_EQ(inkedColumns(screen.workBuffer(), rgb(255, 0, 255)).size(), 45u);
}

TEST_P(Golden, ScreenMatchesItsPicture)
{
    const GoldenCase &c = GetParam();
    loadDeviceFonts();
    doc.themeType = c.type;
    doc.wm5Theme = c.wm5;
    screen.showDefaultScreen();
    draw(QString::fromLatin1(c.view), c.type, c.wm5);
    const QImage actual =
        (c.landscape ? landscape() : portrait()).image().convertToFormat(QImage::Format_RGB32);

    const QString golden = varno::test::dataFile(QStringLiteral("preview/%1.png").arg(c.name));
    if (qEnvironmentVariableIsSet("VARNO_UPDATE_GOLDEN")) {
        ASSERT_TRUE(actual.save(golden));
        return;
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << golden.toStdString();
    ASSERT_EQ(actual.size(), expected.size());
    const double share = differingShare(actual, expected, 2);
    if (share > 0.02) {
        const QString out = QDir::current().filePath(QStringLiteral("%1-actual.png").arg(c.name));
        actual.save(out);
        FAIL() << share * 100 << "% of pixels differ; see " << out.toStdString() << " against "
               << golden.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Golden,
    ::testing::Values(GoldenCase{"qvga-main", "QVGA", false, "MAIN", false},
                      GoldenCase{"sq240-wm5-menu", "SQ240", true, "MENU", false},
                      GoldenCase{"vga-message-landscape", "VGA", false, "MESSAGE", true},
                      GoldenCase{"std-navigation", "STD", false, "NAVIGATION", false},
                      GoldenCase{"qvga-wm5-messageimp", "QVGA", true, "MESSAGEIMP", false}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) {
        return QString::fromLatin1(info.param.name).replace('-', '_').toStdString();
    });

// The QVGA sizes of each kind are checked through the editor's capture button.
TEST_F(CaptureTest, KindsCropAndScalePerProfileAndFailuresAreNamed)
{
    const struct {
        const char *type;
        int kind;
        QSize size;
    } cases[] = {{"SQ240", CaptureMenu, {240, 240}},
                 {"SQ240", CaptureThumbnail, {120, 120}},
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
    EXPECT_EQ(prompt.fileAsked(),
              (QStringList{"Save Theme Screen Capture", "Save Theme Screen Capture (*.jpg)|*.jpg",
                           paths.defaultFolder("capture"), "Sky"}));
    EXPECT_EQ(settings.captureFolder, caps + "/");
    EXPECT_EQ(QDir(caps).entryList(QDir::Files), QStringList{"shot.jpg"});

    prompt.cancelFile();
    captureToChosenFile(ctx, CaptureMain, "mnuScreenCaptureMain_Click");
    EXPECT_EQ(doc.currentThemeName, QStringLiteral("shot"));
}

// The upload shot is taken by nothing in Varno yet.
TEST_F(CaptureTest, PictureExportAddsTheExtension)
{
    profile("SQ240");
    prompt.answerFile(home.filePath("main-picture"));
    saveThemePicture(ctx, false);
    EXPECT_EQ(prompt.fileAsked(),
              (QStringList{"Save Main Image", "PNG|*.png", settings.imagesFolder, ""}));
    // Saved whole; a name without the filter's extension gets it.
    EXPECT_EQ(sizeOf(home.filePath("main-picture.png")), QSize(640, 588));
    EXPECT_EQ(QImageReader(home.filePath("main-picture.png")).format(), QByteArray("png"));
    prompt.answerFile(home.filePath("menu.PNG"));
    saveThemePicture(ctx, true);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files),
              (QStringList{"main-picture.png", "menu.PNG"}));
}
