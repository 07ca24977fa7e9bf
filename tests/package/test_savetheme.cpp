// Saving themes: dialogs, messages, blended overlays, and what stays on disk
// when something goes wrong. What a saved theme holds is checked by loading
// it back (test_themeloader.cpp) and by cabextract (test_cabwiz.cpp).
#include "colour/colourfunctions.h"
#include "themeworkspace.h"

using namespace varno;
using varno::test::okBox;
using varno::test::readFile;
using varno::test::writeFile;

namespace {

class SaveThemeTest : public varno::test::ThemeWorkspace {
protected:
    void SetUp() override
    {
        ThemeWorkspace::SetUp();
        doc.themeName = "  Blue Wave ";
        doc.todayPicture = varno::test::filled(640, 588, rgb(200, 10, 10));
        doc.menuPicture = varno::test::filled(640, 588, rgb(10, 10, 200));
    }
};

}  // namespace

// The ending is made ".tsk" whatever was typed; the folder chosen becomes
// the themes folder.
TEST_F(SaveThemeTest, InteractiveSaveAsksConfirmsAndFollowsTheFolder)
{
    const QString elsewhere = home.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    prompt.answerFile(elsewhere + "/My Theme.TSK");
    prompt.answerFile(elsewhere + "/plain");
    ASSERT_TRUE(save(CompressionHigh, ""));
    ASSERT_TRUE(save(CompressionNone, ""));
    EXPECT_EQ(prompt.fileAsked(), (QStringList{"Save Theme", "Save Theme (*.tsk)|*.tsk",
                                               paths.defaultFolder("tsk"), "Blue Wave"}));
    EXPECT_EQ(prompt.calls()[2].file.initialFolder, elsewhere + "/");
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox("Theme My Theme has been saved!", "Velmora", MsgIcon::Information),
                           okBox("Theme plain has been saved!", "Velmora", MsgIcon::Information)}));
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList({"My Theme.tsk", "plain.tsk"}));
    EXPECT_EQ(doc.currentThemeName, QStringLiteral("Blue Wave"));
    EXPECT_FALSE(prompt.isBusy());
    EXPECT_EQ(prompt.busyOnCount(), 2);
}

// A file name becomes the theme's name, which devices hold in Windows-1252.
TEST_F(SaveThemeTest, CancelBlankNameAndForeignLettersStopQuietlyOrWithANotice)
{
    prompt.cancelFile();
    EXPECT_FALSE(save(CompressionHigh, ""));
    prompt.answerFile(settings.themesFolder + QStringLiteral("\u0422\u0435\u043c\u0430.tsk"));
    EXPECT_FALSE(save(CompressionHigh, ""));
    doc.themeName = "   ";
    EXPECT_FALSE(save(CompressionHigh, ""));
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox(QStringLiteral("The theme name \"\u0422\u0435\u043c\u0430\" holds "
                                                "\"\u0422\", which a Pocket PC cannot show. Please "
                                                "choose a name in Western European letters."),
                                 "Velmora - Notice", MsgIcon::Exclamation),
                           okBox("Please Enter a Theme Name First", "Velmora - Notice",
                                 MsgIcon::Exclamation)}));
    EXPECT_FALSE(prompt.isBusy());
    EXPECT_EQ(QDir(settings.themesFolder).entryList(QDir::Files), QStringList());
}

// An old theme is replaced by a good save and kept by a failed one; the
// directive file is written once.
TEST_F(SaveThemeTest, ReplacesAnOldThemeOrKeepsItAndSaysWhy)
{
    const QString tsk = settings.themesFolder + "Blue Wave.tsk";
    writeFile(tsk, "old theme");
    templateInf = "not a script\r\n";
    EXPECT_FALSE(save(CompressionHigh, tsk));
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("CAB file not created! Unable to assemble Theme File!")});
    EXPECT_EQ(readFile(tsk), QByteArray("old theme"));
    // Left for inspection.
    EXPECT_FALSE(readFile(paths.tmpFolder + "/CabWizErr.txt").isEmpty());

    templateInf = customResource("TOPINF");
    ASSERT_TRUE(save(CompressionNone, tsk));
    EXPECT_TRUE(readFile(tsk).startsWith("MSCF"));
    // The template without its last line end.
    EXPECT_EQ(readFile(home.filePath("cabwiz.ddf")), customResource("CABWIZDDF").trimmed());

    // The theme folder does not exist: the move fails with the long form.
    prompt.clear();
    EXPECT_FALSE(save(CompressionHigh, home.filePath("gone/x.tsk")));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_TRUE(prompt.messages()[0].text.startsWith("Error in SaveTheme: "));
    EXPECT_TRUE(prompt.messages()[0].text.endsWith(" (SaveTheme)"));
}

TEST_F(SaveThemeTest, OverlaysAreBlendedIntoTheSavedPictures)
{
    doc.themeType = "QVGA";
    doc.colours.main = {255, rgb(0, 255, 255), true};
    doc.colours.menu = {0, rgb(0, 0, 0), true};
    EXPECT_EQ(todayPictureForSave(doc).pixel(100, 100), rgb(0, 255, 255));
    EXPECT_EQ(menuPictureForSave(doc).pixel(0, 0), rgb(10, 10, 200));
    doc.colours.main = {128, rgb(0, 0, 0), true};
    // (0 x 128 + 200 x 127) / 255 = 99.6 -> 100
    EXPECT_EQ(redOf(todayPictureForSave(doc).pixel(0, 0)), 100);
}
