// Opening themes: what comes back from a saved theme, and what a broken
// theme does to the document and the working folder.
#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "colour/colortable.h"
#include "colour/colourfunctions.h"
#include "package/cabwriter.h"
#include "package/cesetup.h"
#include "package/themeloader.h"
#include "resources/resources.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "themeworkspace.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;

namespace {

struct RecordingView : ThemeLoadView {
    void showOverlayLevel(int v) override { calls << QStringLiteral("slider %1").arg(v); }
    void showDefaultScreen() override { calls << QStringLiteral("LoadDefault"); }
    void setThemeNameText(const QString &t) override { calls << QStringLiteral("name ") + t; }
    void showProfile(int checked, int pressed) override
    {
        calls << QStringLiteral("profile %1 %2").arg(checked).arg(pressed);
    }
    void setLandscapeVisible(bool v) override { calls << QStringLiteral("landscape %1").arg(v); }
    void drawScreen(const QString &v) override { calls << QStringLiteral("DoScreenMain ") + v; }
    void closeImageDialogs() override { calls << QStringLiteral("CloseImageDialogs"); }
    QStringList calls;
};

QByteArray png(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

// A setup file with the given colour records (value name -> colour).
QByteArray setupWith(const QList<std::pair<QByteArray, Colour>> &colours,
                     std::optional<int> baseHue = std::nullopt, const QByteArray &name = "T")
{
    CeSetup s;
    s.appName = name;
    s.provider = "Windows";
    s.files.push_back({1, "%CE2%", 0x40000000, "tdywater.gif"});
    for (const auto &[value, c] : colours) {
        QByteArray rgb(4, '\0');
        rgb[0] = char(c & 0xFF);
        rgb[1] = char(c >> 8 & 0xFF);
        rgb[2] = char(c >> 16 & 0xFF);
        s.values.push_back({3, "Software\\Microsoft\\Color", value, 1, rgb});
    }
    if (baseHue) {
        QByteArray d(4, '\0');
        d[0] = char(*baseHue & 0xFF);
        d[1] = char(*baseHue >> 8 & 0xFF);
        s.values.push_back({3, "Software\\Microsoft\\Color", "BaseHue", 0x00010001, d});
    }
    return s.build();
}

class LoadThemeTest : public varno::test::ThemeWorkspace {
protected:
    bool load(const QString &source)
    {
        ThemeContext c = ctx();
        return loadTheme(c, view, source);
    }
    QString cabinet(const std::vector<CabMember> &members)
    {
        const QString path = home.filePath("test.tsk");
        writeCabinet(path, members, false);
        return path;
    }

    RecordingView view;
};

}  // namespace

TEST(ThemeSetup, RecordsAreFoundByTheirPatterns)
{
    const QByteArray setup = setupWith(
        {{"5", rgb(1, 2, 3)}, {"27", rgb(4, 5, 6)}, {"40", rgb(7, 8, 9)}, {"99", rgb(9, 9, 9)}},
        300, "My Theme");
    const ThemeSetupRecords r = readThemeSetup(setup);
    EXPECT_EQ(r.themeName, QStringLiteral("My Theme"));
    EXPECT_EQ(r.colours[NavBarLeft], rgb(1, 2, 3));
    EXPECT_EQ(r.colours[DialogText], rgb(4, 5, 6));
    EXPECT_EQ(r.colours[DotsColor], rgb(7, 8, 9));
    EXPECT_FALSE(r.colours[MenuText].has_value());
    EXPECT_EQ(r.baseHueIndex, 300);
    EXPECT_THROW(readThemeSetup(QByteArray(32768, 'x')), RuntimeError);
    EXPECT_NO_THROW(readThemeSetup(QByteArray(32767, 'x')));
    EXPECT_NO_THROW(readThemeSetup(QByteArray(3, 'x')));
}

TEST(ThemeSetup, ProfileFromTheTodayPictureSize)
{
    const struct {
        int w, h;
        bool wm5;
        const char *type;
        int checked, pressed;
    } cases[] = {{240, 294, false, "STD", 0, 0},    {240, 294, true, "STD", 0, 0},
                 {240, 214, false, "SQ240", 3, -1}, {240, 239, true, "SQ240", 6, -1},
                 {320, 294, false, "QVGA", 1, 1},   {320, 100, true, "QVGA", 4, -1},
                 {640, 588, false, "VGA", 2, 2},    {321, 588, true, "VGA", 5, -1},
                 {319, 240, false, "STD", 0, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2 %3").arg(c.w).arg(c.h).arg(c.wm5).toStdString());
        const InferredProfile p = inferProfile(c.w, c.h, c.wm5);
        EXPECT_EQ(p.themeType, QString::fromLatin1(c.type));
        EXPECT_EQ(p.checked, c.checked);
        EXPECT_EQ(p.pressed, c.pressed);
    }
}

// Document -> theme file -> document, for every profile and compression:
// pictures cut to the profile's sizes and stored as PNG or JPEG, colours and
// base hue as saved, and the working folder left clean.
TEST_F(LoadThemeTest, ASavedThemeComesBackForEveryProfileAndCompression)
{
    const struct {
        const char *type;
        bool wm5;
        int checked;
        QSize today, menu;
    } cases[] = {
        {"STD", false, 0, {240, 294}, {239, 292}}, {"QVGA", false, 1, {320, 294}, {319, 292}},
        {"VGA", false, 2, {640, 588}, {399, 586}}, {"SQ240", false, 3, {240, 214}, {239, 213}},
        {"QVGA", true, 4, {320, 294}, {319, 292}}, {"VGA", true, 5, {640, 588}, {399, 586}},
        {"SQ240", true, 6, {240, 214}, {239, 213}}};
    const std::pair<QString, QByteArray> compressions[] = {{CompressionNone, "\x89PNG\r\n"},
                                                           {CompressionMedium, "\xFF\xD8\xFF"},
                                                           {CompressionHigh, "\xFF\xD8\xFF"}};
    for (const auto &p : cases) {
        for (const auto &[compression, magic] : compressions) {
            SCOPED_TRACE(std::string(p.type) + (p.wm5 ? " WM5 " : " ") + compression.toStdString());
            ThemeDocument saved;
            saved.themeType = p.type;
            saved.wm5Theme = p.wm5;
            saved.themeName = "Round Trip";
            saved.todayPicture = Raster(640, 588);
            saved.todayPicture.fill(rgb(250, 0, 0));
            saved.menuPicture = Raster(640, 588);
            saved.menuPicture.fill(rgb(0, 0, 250));
            for (int slot = 0; slot < SlotCount; ++slot)
                saved.colours.colors[slot] = rgb(slot * 11, 255 - slot, slot);
            saved.colours.colors.baseHueIndex = 300;
            saved.colours.colors.baseHueColor = paletteColor(palettes, 300);
            const QString tsk = settings.themesFolder + "rt.tsk";
            {
                ThemeContext c{prompt, saved, settings, paths, templateInf, palettes};
                ASSERT_TRUE(saveTheme(c, compression, tsk));
            }
            // The cabinet stores its members as they are.
            EXPECT_EQ(varno::test::readFile(tsk).count(magic), 2);

            doc = ThemeDocument();
            doc.wm5Theme = !p.wm5;
            doc.colours.main = {100, rgb(1, 1, 1), true};
            view.calls.clear();
            ASSERT_TRUE(load(tsk));
            EXPECT_TRUE(prompt.calls().empty());
            EXPECT_EQ(doc.colours.colors.bySlot, saved.colours.colors.bySlot);
            EXPECT_EQ(doc.wm5Theme, p.wm5);
            if (p.wm5) {
                EXPECT_EQ(doc.colours.colors.baseHueIndex, 300);
                EXPECT_EQ(doc.colours.colors.baseHueColor, paletteColor(palettes, 300));
            }
            EXPECT_EQ(doc.themeType, QString::fromLatin1(p.type));
            EXPECT_EQ(doc.themeName, QStringLiteral("rt"));
            EXPECT_EQ(doc.currentThemeName, QStringLiteral("rt"));
            // Each picture fills its size on a black 640 x 588 canvas.
            for (const auto &[picture, size, channel] : {std::tuple(&doc.todayPicture, p.today, 0),
                                                         std::tuple(&doc.menuPicture, p.menu, 2)}) {
                ASSERT_EQ(picture->width(), 640);
                ASSERT_EQ(picture->height(), 588);
                const Colour corner = picture->pixel(size.width() - 1, size.height() - 1);
                EXPECT_LE(std::abs((channel ? blueOf(corner) : redOf(corner)) - 250), 3);
                if (size.width() < 640) {
                    EXPECT_EQ(picture->pixel(size.width(), 0), rgb(0, 0, 0));
                    EXPECT_EQ(picture->pixel(0, size.height()), rgb(0, 0, 0));
                }
            }
            EXPECT_EQ(doc.colours.main, TransparencyOverlay{});
            EXPECT_TRUE(view.calls.contains(QStringLiteral("profile %1 %2")
                                                .arg(p.checked)
                                                .arg(profiles()[p.checked].pressedButton)));
            EXPECT_EQ(view.calls.last(), QStringLiteral("DoScreenMain MAIN"));
            EXPECT_EQ(QDir(paths.tmpFolder).entryList(QDir::Files), QStringList());
            EXPECT_EQ(settings.themesFolder, paths.defaultFolder("tsk"));
        }
    }
}

TEST_F(LoadThemeTest, ColoursFromAThemeLeaveImagesProfileAndWm5Alone)
{
    const QString tsk = cabinet({{"000000vl.000", setupWith({{"5", rgb(9, 8, 7)}}, 260)},
                                 {"tdywater.001", png(320, 294, qRgb(1, 2, 3))}});
    doc.themeType = "VGA";
    doc.wm5Theme = true;
    doc.todayPicture = Raster(10, 10);
    prompt.answerFile(tsk);
    ASSERT_TRUE(load(ColorsFromTheme));
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.title, QStringLiteral("Select TSK File"));
    EXPECT_EQ(asked.filter, QStringLiteral("TSK files (*.tsk)|*.tsk"));
    EXPECT_EQ(asked.fileName, paths.defaultFolder("tsk") + "*.tsk");
    EXPECT_EQ(doc.colours.colors[NavBarLeft], rgb(9, 8, 7));
    EXPECT_EQ(doc.colours.colors.baseHueIndex, 260);
    EXPECT_FALSE(doc.wm5Theme);
    EXPECT_EQ(doc.themeType, QStringLiteral("VGA"));
    EXPECT_EQ(doc.todayPicture.width(), 10);
    // Records "27" and "39" are missing: black dialog and menu text.
    EXPECT_EQ(doc.colours.colors[DialogText], 0);
    EXPECT_EQ(doc.colours.colors[MenuText], 0);
    EXPECT_EQ(doc.colours.colors[NavBarRight], defaultThemeColors()[NavBarRight]);
    EXPECT_FALSE(view.calls.contains(QStringLiteral("DoScreenMain MAIN")));
    EXPECT_EQ(settings.themesFolder, home.path() + "/");
}

TEST_F(LoadThemeTest, OneMenuPictureServesBothImages)
{
    const QString tsk = cabinet({{"000000vl.000", setupWith({{"27", rgb(1, 1, 1)}})},
                                 {"0stwater.001", png(240, 214, qRgb(0, 0, 255))}});
    ASSERT_TRUE(load(tsk));
    EXPECT_EQ(doc.themeType, QStringLiteral("SQ240"));
    EXPECT_EQ(doc.todayPicture.pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(doc.menuPicture.pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(doc.menuPicture.pixel(240, 0), rgb(0, 0, 0));
    EXPECT_TRUE(view.calls.contains(QStringLiteral("landscape 0")));
}

TEST_F(LoadThemeTest, BrokenThemesGiveTheirMessages)
{
    const QByteArray setup = setupWith({{"5", rgb(9, 8, 7)}});
    const struct {
        const char *name;
        std::vector<CabMember> members;
        QList<RecordedMessage> messages;
        bool coloursTaken;
    } cases[] = {
        {"no images",
         {{"000000vl.000", setup}},
         {{"Error Opening Theme! No Images!", MsgIcon::Critical, "Velmora - Error",
           MsgButtons::OK}},
         false},
        {"no setup file",
         {{"tdywater.001", png(8, 8, 0)}},
         {{"Unable to locate Theme Data File!", MsgIcon::Critical, "Velmora - Error",
           MsgButtons::OK}},
         false},
        {"today picture is not a picture",
         {{"000000vl.000", setup}, {"tdywater.001", "junk"}, {"0stwater.002", png(8, 8, 0)}},
         {{"Error Loading Main Image!", MsgIcon::Critical, "Velmora - Error", MsgButtons::OK},
          {"Error loading Main Image!", MsgIcon::Critical, "Velmora - ERROR", MsgButtons::OK}},
         false},
        {"menu picture is not a picture",
         {{"000000vl.000", setup}, {"tdywater.001", png(8, 8, 0)}, {"0stwater.002", "junk"}},
         {{"Error loading Menu Image!", MsgIcon::Critical, "Velmora - ERROR", MsgButtons::OK}},
         false},
        {"setup file too large",
         {{"000000vl.000", setup + QByteArray(40000, '\0')}},
         {{"Error: Overflow (LoadTheme)", MsgIcon::Critical, "Velmora - Error", MsgButtons::OK}},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompt.clear();
        doc.colours.colors = defaultThemeColors();
        EXPECT_FALSE(load(cabinet(c.members)));
        std::vector<RecordedMessage> expected(c.messages.begin(), c.messages.end());
        EXPECT_EQ(prompt.messages(), expected);
        EXPECT_EQ(doc.colours.colors[NavBarLeft] == rgb(9, 8, 7), c.coloursTaken);
    }
}

TEST_F(LoadThemeTest, MissingFileCancelAndUnreadableCabinet)
{
    EXPECT_FALSE(load(home.filePath("nothing.tsk")));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].text,
              QStringLiteral("Error: The system cannot find the file specified. (LoadTheme)"));

    prompt.clear();
    prompt.cancelFile();
    EXPECT_FALSE(load(QString()));
    EXPECT_TRUE(prompt.messages().empty());

    // Not a cabinet at all: the walk fails before anything is extracted.
    prompt.clear();
    varno::test::writeFile(home.filePath("fake.tsk"), "MSCF but not really a cabinet");
    EXPECT_FALSE(load(home.filePath("fake.tsk")));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_TRUE(prompt.messages()[0].text.startsWith("Error: "));
}

TEST_F(LoadThemeTest, ImageFromThemeHandsOverTheTodayPicture)
{
    const QString tsk = cabinet({{"000000vl.000", setupWith({})},
                                 {"0stwater.002", png(8, 8, 0)},
                                 {"tdywater.001", png(320, 294, qRgb(5, 5, 5))}});
    prompt.answerFile(tsk);
    ThemeContext c = ctx();
    doc.imageDialogReady = true;
    const Raster picture = loadImageFromTheme(c, view);
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(320, 294));
    EXPECT_EQ(QDir(paths.tmpFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_FALSE(doc.imageDialogReady);
    EXPECT_TRUE(view.calls.contains("CloseImageDialogs"));
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.title, QStringLiteral("Load Image From Theme"));
    EXPECT_EQ(asked.filter, QStringLiteral("tsk files (*.tsk)|*.tsk"));
    EXPECT_EQ(asked.initialFolder, paths.defaultFolder("tsk"));

    prompt.clear();
    prompt.answerFile(cabinet({{"000000vl.000", setupWith({})}}));
    EXPECT_TRUE(loadImageFromTheme(c, view).isNull());
    EXPECT_EQ(prompt.messages()[0], (RecordedMessage{"Error opening Pocket PC Theme (2)",
                                                     MsgIcon::Critical, "Error", MsgButtons::OK}));
    prompt.clear();
    prompt.answerFile(home.filePath("missing.tsk"));
    EXPECT_TRUE(loadImageFromTheme(c, view).isNull());
    EXPECT_EQ(prompt.messages()[0], (RecordedMessage{"Error opening Pocket PC Theme (1)",
                                                     MsgIcon::Critical, "Error", MsgButtons::OK}));
    prompt.clear();
    prompt.cancelFile();
    EXPECT_TRUE(loadImageFromTheme(c, view).isNull());
    EXPECT_TRUE(prompt.messages().empty());
}
