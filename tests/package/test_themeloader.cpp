// Opening themes: what comes back from a saved theme, and what a broken
// theme does to the document and the working folder.
#include "app/profiles.h"
#include "app/raster/pictureio.h"
#include "colour/colourfunctions.h"
#include "package/cabwriter.h"
#include "package/cesetup.h"
#include "themeworkspace.h"

#include <QtEndian>

using namespace varno;
using varno::test::filled;
using varno::test::okBox;
using varno::test::RecordedMessage;

namespace {

QByteArray png(int w, int h, Colour colour)
{
    return encodePng(varno::test::filled(w, h, colour));
}

QByteArray le32(quint32 v)
{
    v = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

// A setup file with the given colour records (value name -> colour), and a
// base hue when one is given.
QByteArray setupWith(const QList<std::pair<QByteArray, Colour>> &colours, int baseHue = -1)
{
    CeSetup s;
    s.appName = "T";
    s.provider = "Windows";
    s.files.push_back({1, "%CE2%", 0x40000000, "tdywater.gif"});
    for (const auto &[value, c] : colours)
        s.values.push_back({3, "Software\\Microsoft\\Color", value, 1, le32(c)});
    if (baseHue >= 0)
        s.values.push_back({3, "Software\\Microsoft\\Color", "BaseHue", 0x00010001, le32(baseHue)});
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
        writeCabinet(home.filePath("test.tsk"), members, false);
        return home.filePath("test.tsk");
    }
};

}  // namespace

// Document -> theme file -> document, for every profile, each compression
// in turn: pictures cut to the profile's sizes and stored as PNG or JPEG,
// colours and base hue as saved, and the working folder left clean.
TEST_F(LoadThemeTest, ASavedThemeComesBackForEveryProfile)
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
        const auto &[compression, magic] = compressions[p.checked % 3];
        SCOPED_TRACE(std::string(p.type) + (p.wm5 ? " WM5 " : " ") + compression.toStdString());
        doc = ThemeDocument();
        doc.themeType = p.type;
        doc.wm5Theme = p.wm5;
        doc.themeName = "Round Trip";
        doc.todayPicture = filled(640, 588, rgb(250, 0, 0));
        doc.menuPicture = filled(640, 588, rgb(0, 0, 250));
        // Bytes that look like the setup file's own record patterns: a
        // length, a zero, digits, "BaseHue".
        for (int slot = 0; slot < SlotCount; ++slot) {
            const int k = slot + p.checked, digit = '0' + k % 10;
            const Colour tricky[] = {rgb(6, 0, 0x35),  rgb(0, digit, 0),   rgb(7, 0, digit),
                                     rgb(digit, 0, 6), rgb('B', 'a', 's'), rgb(slot, 0, 0)};
            doc.colours.colors[slot] = tricky[k % 6];
        }
        doc.colours.colors.baseHueIndex = 300;
        doc.colours.colors.baseHueColor = paletteColor(palettes, 300);
        const ThemeColors saved = doc.colours.colors;
        // The name is the file's, held in the devices' code page.
        const QString tsk = settings.themesFolder + QStringLiteral("rt \u20ac\u00e9.tsk");
        ASSERT_TRUE(save(compression, tsk));
        // The cabinet stores its members as they are.
        EXPECT_EQ(varno::test::readFile(tsk).count(magic), 2);

        doc = ThemeDocument();
        doc.wm5Theme = !p.wm5;
        doc.colours.main = {100, rgb(1, 1, 1), true};
        view.calls.clear();
        ASSERT_TRUE(load(tsk));
        EXPECT_TRUE(prompt.calls().empty());
        EXPECT_EQ(doc.colours.colors.bySlot, saved.bySlot);
        EXPECT_EQ(doc.wm5Theme, p.wm5);
        EXPECT_EQ(doc.colours.colors.baseHueIndex == 300, p.wm5);  // WM5 themes alone carry it
        EXPECT_EQ(doc.themeType, QString::fromLatin1(p.type));
        EXPECT_EQ(doc.themeName, QStringLiteral("rt \u20ac\u00e9"));
        // Each picture fills its size on a black 640 x 588 canvas.
        for (const auto &[picture, size, channel] :
             {std::tuple(&doc.todayPicture, p.today, 0), std::tuple(&doc.menuPicture, p.menu, 2)}) {
            ASSERT_EQ(QSize(picture->width(), picture->height()), QSize(640, 588));
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
        EXPECT_EQ(leftovers(), QStringList());
    }
}

// Records "27" and "39" missing mean black dialog and menu text; other
// missing records keep the default. The setup file is as long as a theme's
// may be.
TEST_F(LoadThemeTest, ColoursFromAThemeLeaveImagesProfileAndWm5Alone)
{
    const QByteArray setup = setupWith({{"5", rgb(9, 8, 7)}}, 260).leftJustified(32767, '\0');
    const QString tsk = cabinet({{"000000vl.000", setup}, {"tdywater.001", png(320, 294, 0)}});
    doc.themeType = "VGA";
    doc.wm5Theme = true;
    doc.todayPicture = Raster(10, 10);
    prompt.answerFile(tsk);
    ASSERT_TRUE(load(ColorsFromTheme));
    EXPECT_EQ(prompt.fileAsked(), (QStringList{"Select TSK File", "TSK files (*.tsk)|*.tsk", "",
                                               paths.defaultFolder("tsk") + "*.tsk"}));
    ThemeColors expected = defaultThemeColors();
    expected[NavBarLeft] = rgb(9, 8, 7);
    expected[DialogText] = expected[MenuText] = 0;
    EXPECT_EQ(doc.colours.colors.bySlot, expected.bySlot);
    EXPECT_EQ(doc.colours.colors.baseHueIndex, 260);
    EXPECT_FALSE(doc.wm5Theme);
    EXPECT_EQ(doc.themeType, QStringLiteral("VGA"));
    EXPECT_EQ(doc.todayPicture.width(), 10);
    EXPECT_FALSE(view.calls.contains(QStringLiteral("DoScreenMain MAIN")));
    EXPECT_EQ(settings.themesFolder, home.path() + "/");
}

// Member names in any letter case, as the devices' file system reads them.
TEST_F(LoadThemeTest, OneMenuPictureServesBothImages)
{
    ASSERT_TRUE(load(cabinet({{"000000VL.000", setupWith({{"27", rgb(1, 1, 1)}})},
                              {"0STWATER.001", png(240, 214, rgb(0, 0, 255))}})));
    EXPECT_EQ(doc.themeType, QStringLiteral("SQ240"));
    EXPECT_EQ(doc.todayPicture.pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(doc.menuPicture.pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(doc.menuPicture.pixel(240, 0), rgb(0, 0, 0));
    EXPECT_TRUE(view.calls.contains(QStringLiteral("landscape 0")));
}

// Every box is a critical one with OK alone; what varies is text and title.
TEST_F(LoadThemeTest, BrokenThemesGiveTheirMessages)
{
    const QByteArray setup = setupWith({{"5", rgb(9, 8, 7)}});
    const QString E = "Velmora - Error", EE = "Velmora - ERROR";
    const struct {
        std::vector<CabMember> members;  // "" for a file that is not there
        QList<std::pair<QString, QString>> messages;
    } cases[] = {
        {{{"000000vl.000", setup}}, {{"Error Opening Theme! No Images!", E}}},
        {{{"tdywater.001", png(8, 8, 0)}}, {{"Unable to locate Theme Data File!", E}}},
        {{{"000000vl.000", setup}, {"tdywater.001", "junk"}, {"0stwater.002", png(8, 8, 0)}},
         {{"Error Loading Main Image!", E}, {"Error loading Main Image!", EE}}},
        {{{"000000vl.000", setup}, {"tdywater.001", png(8, 8, 0)}, {"0stwater.002", "junk"}},
         {{"Error loading Menu Image!", EE}}},
        {{{"000000vl.000", setup.leftJustified(32768, '\0')}},
         {{"Error: Overflow (LoadTheme)", E}}},
        {{}, {{"Error: The system cannot find the file specified. (LoadTheme)", E}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.messages[0].first.toStdString());
        prompt.clear();
        doc.colours.colors = defaultThemeColors();
        EXPECT_FALSE(load(c.members.empty() ? home.filePath("nothing.tsk") : cabinet(c.members)));
        std::vector<RecordedMessage> expected;
        for (const auto &[text, title] : c.messages)
            expected.push_back(okBox(text, title));
        EXPECT_EQ(prompt.messages(), expected);
        EXPECT_EQ(doc.colours.colors.bySlot, defaultThemeColors().bySlot);
    }
    prompt.clear();
    prompt.cancelFile();
    EXPECT_FALSE(load(QString()));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(LoadThemeTest, ImageFromThemeHandsOverTheTodayPicture)
{
    prompt.answerFile(cabinet({{"000000vl.000", setupWith({})},
                               {"0stwater.002", png(8, 8, 0)},
                               {"tdywater.001", png(320, 294, rgb(5, 5, 5))}}));
    ThemeContext c = ctx();
    doc.imageDialogReady = true;
    const Raster picture = loadImageFromTheme(c, view);
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(320, 294));
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_FALSE(doc.imageDialogReady);
    EXPECT_TRUE(view.calls.contains("CloseImageDialogs"));
    EXPECT_EQ(prompt.fileAsked(), (QStringList{"Load Image From Theme", "tsk files (*.tsk)|*.tsk",
                                               paths.defaultFolder("tsk"), ""}));
    // No today picture (2), no file (1), cancelled (nothing said).
    prompt.clear();
    for (const QString &answer :
         {cabinet({{"000000vl.000", setupWith({})}}), home.filePath("missing.tsk"), QString()}) {
        answer.isEmpty() ? prompt.cancelFile() : prompt.answerFile(answer);
        EXPECT_TRUE(loadImageFromTheme(c, view).isNull());
    }
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox("Error opening Pocket PC Theme (2)", "Error"),
                           okBox("Error opening Pocket PC Theme (1)", "Error")}));
}
