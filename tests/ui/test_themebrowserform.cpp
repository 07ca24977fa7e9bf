// The theme browser's window logic: the memory notice and its limit, the
// folder shown first, a pick and "Select", and the scratch folder on close.
#include "app/raster/pictureio.h"
#include "package/cabwriter.h"
#include "support/rasters.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/themebrowserform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace varno;
using namespace varno::test;

namespace {

class ThemeBrowserFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths = AppPaths::forEditor();
        settings.themesFolder = box.file(QStringLiteral("themes/"));
    }
    std::unique_ptr<ThemeBrowserForm> open(qint64 free)
    {
        return std::make_unique<ThemeBrowserForm>(prompt, settings, paths,
                                                  [free] { return std::optional(free); });
    }
    void theme(const QString &path, bool good = true)
    {
        const QByteArray png = encodePng(filled(320, 294, rgb(255, 0, 0)));
        writeCabinet(path, {{"tdywater.001", good ? png : QByteArray("junk")}}, false);
    }

    Sandbox box;
    ScriptedPrompt prompt;
    AppSettings settings;
    AppPaths paths;
};

}  // namespace

// 80,000,000 bytes: 1066.67 - 100 rounds to 967. With no themes folder the
// application folder (which holds no theme) is shown first.
TEST_F(ThemeBrowserFormTest, ActivationReckonsTheLimitAndShowsAFolder)
{
    auto form = open(80000000);
    EXPECT_FALSE(form->activate());
    EXPECT_EQ(form->viewableLimit, 967);
    EXPECT_EQ(form->memoryNotice,
              "Available memory (in bytes): 80,000,000 Approximate number of Themes Viewable: "
              "967\r\nPlease be aware that folders with lots of themes will require lots of "
              "memory to load! If you are short on memory you should not view these thumbnails "
              "as you may receive errors.");
    EXPECT_EQ(form->folderShown, paths.appFolder);
    // A folder without themes: an empty strip and no count.
    EXPECT_EQ(form->model.rowCount(), 0);
    EXPECT_EQ(form->countText, QString());
    EXPECT_TRUE(form->selectEnabled);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(ThemeBrowserFormTest, TooManyThemesForTheMemoryDisableTheChoice)
{
    QDir().mkpath(settings.themesFolder);
    for (const char *name : {"a.tsk", "b.tsk"})
        writeFile(settings.themesFolder + name, {});
    auto form = open(7575000);      // a limit of 1
    EXPECT_TRUE(form->activate());  // a box was shown
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("There are Too Many Themes in this Directory to View!\r\nThre are "
                                "2 Themes and you can only view 1 at this time.",
                                "Velmora - Notice", MsgIcon::Exclamation)});
    EXPECT_FALSE(form->selectEnabled);
    EXPECT_FALSE(form->foldersEnabled);
    // The themes folder is still shown.
    EXPECT_EQ(form->folderShown, settings.themesFolder);
    EXPECT_EQ(form->countText, QStringLiteral("2/0"));
}

// The capital-letter name is listed in lower case and opened as named.
TEST_F(ThemeBrowserFormTest, PickAndSelect)
{
    QDir().mkpath(settings.themesFolder);
    theme(settings.themesFolder + "Sunny Day.tsk");
    theme(settings.themesFolder + "broken.tsk", false);
    auto form = open(800000000);
    writeFile(paths.tmpFolder + "/tdywater.001", "left over");
    form->activate();
    EXPECT_EQ(form->select(), QString());
    ASSERT_EQ(form->model.index(1).data().toString(), QStringLiteral("sunny day.tsk"));
    form->pick(0);
    form->pick(1);
    EXPECT_EQ(form->largeView.size(), QSize(320, 294));
    EXPECT_EQ(form->select(), settings.themesFolder + "Sunny Day.tsk");
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox("Please select a theme first!", "Velmora", MsgIcon::Exclamation),
                           okBox("The Today picture cannot be read.\r\r(Error #481)",
                                 "Error in frmBrowseThemes: Sub ExtractImage")}));
    form->close();
    EXPECT_TRUE(QDir(paths.tmpFolder).isEmpty());
}
