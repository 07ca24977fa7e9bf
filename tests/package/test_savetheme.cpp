// Saving themes: dialogs, messages, blended overlays, and what stays on disk
// when something goes wrong. What a saved theme holds is checked by loading
// it back (test_themeloader.cpp) and by cabextract (test_cabwiz.cpp).
#include "colour/colortable.h"
#include "colour/colourfunctions.h"
#include "package/savetheme.h"
#include "resources/resources.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "themeworkspace.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::readFile;
using varno::test::RecordedMessage;
using varno::test::ScriptedPrompt;
using varno::test::writeFile;

namespace {

class SaveThemeTest : public varno::test::ThemeWorkspace {
protected:
    void SetUp() override
    {
        ThemeWorkspace::SetUp();
        doc.themeName = "  Blue Wave ";
        doc.todayPicture = Raster(640, 588);
        doc.todayPicture.fill(rgb(200, 10, 10));
        doc.menuPicture = Raster(640, 588);
        doc.menuPicture.fill(rgb(10, 10, 200));
    }
    bool save(const QString &compression, const QString &target)
    {
        ThemeContext c = ctx();
        return saveTheme(c, compression, target);
    }
};

}  // namespace

TEST_F(SaveThemeTest, InteractiveSaveAsksConfirmsAndFollowsTheFolder)
{
    const QString elsewhere = home.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    prompt.answerFile(elsewhere + "/My Theme.TSK");
    doc.themeType = "QVGA";
    ASSERT_TRUE(save(CompressionHigh, ""));
    ASSERT_EQ(prompt.calls().size(), 2u);
    const FileDialogRequest &asked = prompt.calls()[0].file;
    EXPECT_EQ(asked.title, QStringLiteral("Save Theme"));
    EXPECT_EQ(asked.filter, QStringLiteral("Save Theme (*.tsk)|*.tsk"));
    EXPECT_EQ(asked.initialFolder, paths.defaultFolder("tsk"));
    EXPECT_EQ(asked.fileName, QStringLiteral("Blue Wave"));
    EXPECT_TRUE(asked.hideReadOnly);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Theme My Theme has been saved!", MsgIcon::Information, "Velmora",
                               MsgButtons::OK}));
    EXPECT_TRUE(QFile::exists(elsewhere + "/My Theme.tsk"));
    EXPECT_EQ(settings.themesFolder, elsewhere + "/");
    EXPECT_EQ(doc.currentThemeName, QStringLiteral("Blue Wave"));
    EXPECT_FALSE(prompt.isBusy());
    EXPECT_EQ(prompt.busyOnCount(), 1);
}

TEST_F(SaveThemeTest, NamesWithoutTheEndingGetIt)
{
    prompt.answerFile(settings.themesFolder + "plain");
    ASSERT_TRUE(save(CompressionNone, ""));
    EXPECT_TRUE(QFile::exists(settings.themesFolder + "plain.tsk"));
    EXPECT_EQ(prompt.messages()[0].text, QStringLiteral("Theme plain has been saved!"));
}

TEST_F(SaveThemeTest, CancelAndBlankNameStopQuietlyOrWithANotice)
{
    prompt.cancelFile();
    EXPECT_FALSE(save(CompressionHigh, ""));
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_FALSE(prompt.isBusy());

    doc.themeName = "   ";
    EXPECT_FALSE(save(CompressionHigh, ""));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"Please Enter a Theme Name First", MsgIcon::Exclamation,
                               "Velmora - Notice", MsgButtons::OK}));
    EXPECT_EQ(QDir(settings.themesFolder).entryList(QDir::Files), QStringList());
}

TEST_F(SaveThemeTest, ReplacesAnExistingThemeAndWritesTheDirectiveFileOnce)
{
    const QString tsk = settings.themesFolder + "Blue Wave.tsk";
    writeFile(tsk, "old theme");
    ASSERT_TRUE(save(CompressionNone, tsk));
    EXPECT_TRUE(readFile(tsk).startsWith("MSCF"));
    const QByteArray ddf = readFile(home.filePath("cabwiz.ddf"));
    EXPECT_TRUE(ddf.startsWith(";\r\n; cabwiz.ddf\r\n"));
    EXPECT_TRUE(ddf.endsWith("; followed by the list of files"));
}

TEST_F(SaveThemeTest, FailuresKeepTheOldThemeAndSayWhy)
{
    // The wizard cannot build from a broken script.
    templateInf = "not a script\r\n";
    const QString tsk = settings.themesFolder + "Blue Wave.tsk";
    writeFile(tsk, "old theme");
    EXPECT_FALSE(save(CompressionHigh, tsk));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              (RecordedMessage{"CAB file not created! Unable to assemble Theme File!",
                               MsgIcon::Critical, "Velmora - Error", MsgButtons::OK}));
    EXPECT_EQ(readFile(tsk), QByteArray("old theme"));
    // Left for inspection.
    EXPECT_TRUE(QFile::exists(paths.tmpFolder + "/vl.inf"));
    EXPECT_FALSE(readFile(paths.tmpFolder + "/CabWizErr.txt").isEmpty());

    // The theme folder does not exist: the move fails with the long form.
    prompt.clear();
    templateInf = customResource("TOPINF");
    EXPECT_FALSE(save(CompressionHigh, home.filePath("gone/x.tsk")));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_TRUE(prompt.messages()[0].text.startsWith("Error in SaveTheme: "));
    EXPECT_TRUE(prompt.messages()[0].text.endsWith(" (SaveTheme)"));
    EXPECT_EQ(prompt.messages()[0].title, QStringLiteral("Velmora - Error"));
}

TEST_F(SaveThemeTest, OverlaysAreBlendedIntoTheSavedPictures)
{
    doc.themeType = "QVGA";
    doc.colours.main = {255, rgb(0, 255, 255), true};
    doc.colours.menu = {0, rgb(0, 0, 0), true};
    const Raster today = todayPictureForSave(doc);
    EXPECT_EQ(today.pixel(100, 100), rgb(0, 255, 255));
    EXPECT_EQ(menuPictureForSave(doc).pixel(0, 0), rgb(10, 10, 200));
    doc.colours.main = {128, rgb(0, 0, 0), true};
    // (0 x 128 + 200 x 127) / 255 = 99.6 -> 100
    EXPECT_EQ(redOf(todayPictureForSave(doc).pixel(0, 0)), 100);
}
