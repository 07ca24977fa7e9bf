// Whole screens against committed pictures, so a change that moves or
// recolours an element shows. Text may rasterise a little differently from
// one font build to the next, so a small share of pixels may differ; how the
// device text is set is checked column by column instead.
#include "colour/colortable.h"
#include "preview/devicescreen.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

struct GoldenCase {
    const char *name;
    const char *type;
    bool wm5;
    const char *view;
    bool landscape;
};

class Golden : public ::testing::TestWithParam<GoldenCase> {};

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

}  // namespace

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
TEST(DeviceText, VolumeCaptionIsNinePoint)
{
    loadDeviceFonts();
    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    doc.colours.colors = defaultThemeColors();
    doc.colours.colors[DialogText] = rgb(255, 0, 255);
    DeviceScreen screen(prompt, doc, settings);
    screen.placeMessageBox(QStringLiteral("message"), 240);
    EXPECT_EQ(inkedColumns(screen.workBuffer(), rgb(255, 0, 255)).size(), 45u);
}

TEST_P(Golden, ScreenMatchesItsPicture)
{
    const GoldenCase &c = GetParam();
    loadDeviceFonts();
    ScriptedPrompt prompt;
    ThemeDocument doc;
    AppSettings settings;
    settings.todayText = "all";
    settings.name1 = "Glintory";
    settings.name2 = "glintory.net";
    settings.name3 = "www.velmora.net";
    doc.colours.colors = defaultThemeColors();
    doc.themeType = c.type;
    doc.wm5Theme = c.wm5;
    DeviceScreen screen(prompt, doc, settings);
    screen.clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(10, 30)); };
    screen.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    screen.showDefaultScreen();
    screen.drawScreen(QString::fromLatin1(c.view));
    ASSERT_TRUE(prompt.messages().empty());
    const QImage actual = (c.landscape ? screen.landscapeScreen : screen.portraitScreen)
                              .image()
                              .convertToFormat(QImage::Format_RGB32);

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
