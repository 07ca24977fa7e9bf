// Saving and opening themes through the main window's commands.
#include "editortest.h"

#include <QFile>

using namespace varno;
using varno::test::okBox;

namespace {

class FileCommands : public varno::test::EditorTest<RecordingScreen> {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        module.doc.todayPicture = Raster(640, 588);
        module.doc.menuPicture = Raster(640, 588);
    }
    QString tsk(const QString &name) const { return module.settings.themesFolder + name + ".tsk"; }
};

}  // namespace

TEST_F(FileCommands, SaveButtonAsksForCompressionFirst)
{
    window->saveAskingCompression();
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("Enter Theme Name First!", "Notice", MsgIcon::Exclamation)});
    prompt.clear();

    window->setThemeName("S/k?y");  // typed or pasted, the name loses what a file name cannot hold
    EXPECT_EQ(window->view().themeNameText, QStringLiteral("Sky"));
    int asked = 0;
    QString answer = "CANCEL";
    window->askCompression = [&] {
        ++asked;
        return answer;
    };
    window->saveAskingCompression();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(prompt.calls().empty());  // cancelled: no file dialog

    const struct {
        const char *choice;
        QByteArray magic;
    } choices[] = {{"HIGH", "\xFF\xD8\xFF"}, {"LOW", "\x89PNG"}};
    for (const auto &c : choices) {
        SCOPED_TRACE(c.choice);
        answer = c.choice;
        prompt.answerFile(tsk("Sky"));
        window->saveAskingCompression();
        // The cabinet stores its members as they are.
        EXPECT_TRUE(varno::test::readFile(tsk("Sky")).contains(c.magic));
        EXPECT_EQ(prompt.messages().back().text, QStringLiteral("Theme Sky has been saved!"));
    }
}

TEST_F(FileCommands, OpeningAThemeShowsItsProfileAndName)
{
    window->newTheme(5);
    window->setThemeName("Night");
    module.doc.colours.colors[CommandBar] = rgb(1, 2, 3);
    prompt.answerFile(tsk("Night"));
    window->saveUncompressed();

    window->newTheme(0);
    prompt.answerFile(tsk("Night"));
    window->openTheme();
    const MainView &v = window->view();
    EXPECT_EQ(v.checkedProfile, 5);
    EXPECT_EQ(v.themeNameText, QStringLiteral("Night"));
    EXPECT_TRUE(module.doc.wm5Theme);
    EXPECT_EQ(module.doc.colours.colors[CommandBar], rgb(1, 2, 3));
    EXPECT_EQ(screen.requests.last(), QStringLiteral("DoScreenMain MAIN"));

    // Colours only: the new QVGA profile stays, the WM5 flag goes off, and
    // the view shown is redrawn in the new colours.
    window->newTheme(1);
    window->drawScreen("MENU");
    screen.requests.clear();
    prompt.answerFile(tsk("Night"));
    window->takeColoursFromTheme();
    EXPECT_EQ(module.doc.themeType, QStringLiteral("QVGA"));
    EXPECT_FALSE(module.doc.wm5Theme);
    EXPECT_EQ(module.doc.colours.colors[CommandBar], rgb(1, 2, 3));
    EXPECT_EQ(screen.requests, QStringList{"DoScreenMain MENU"});
}

TEST_F(FileCommands, AcceptedSettingsRedrawTheViewShown)
{
    bool accepted = false;
    window->showSettings = [&] { return accepted; };
    window->drawScreen("MESSAGE");
    screen.requests.clear();
    window->openSettings();
    EXPECT_TRUE(screen.requests.isEmpty());
    accepted = true;
    window->openSettings();
    EXPECT_EQ(screen.requests, QStringList{"DoScreenMain MESSAGE"});
}

// Unsaved work: the marker follows the document; the question guards every
// way of losing it and Cancel leaves all as it was; Ctrl+S then saves to
// the theme's file without a dialog; the recent list keeps what was saved.
TEST_F(FileCommands, ChangesAreAskedAboutAndSavedToTheThemesFile)
{
    window->newTheme(1);
    window->setAsksToSaveChanges(true);
    EXPECT_FALSE(window->view().modified);
    EXPECT_EQ(window->view().documentName, QStringLiteral("Untitled"));
    window->setThemeName("Dusk");
    EXPECT_TRUE(window->view().modified);

    // Cancel on each way out leaves the theme as it was.
    const std::function<void()> ways[] = {[&] { window->newTheme(2); },
                                          [&] { window->openTheme(); },
                                          [&] { window->openGivenFile(tsk("Other")); }};
    for (const auto &way : ways) {
        prompt.clear();
        prompt.answerQuestion(MsgResult::Cancel);
        way();
        EXPECT_EQ(prompt.messages(), std::vector({varno::test::RecordedMessage{
                                         "Save changes to \"Dusk\"?", MsgIcon::Question, "Varno",
                                         MsgButtons::SaveDiscardCancel}}));
        EXPECT_EQ(module.doc.themeName, QStringLiteral("Dusk"));
    }

    // The first save goes the interactive way; after it Ctrl+S, and Save in
    // the question, write the same file with the same compression silently.
    window->askCompression = [] { return QStringLiteral("LOW"); };
    prompt.answerFile(tsk("Dusk"));
    EXPECT_TRUE(window->saveToThemeFile());
    EXPECT_EQ(window->view().documentName, QStringLiteral("Dusk.tsk"));
    EXPECT_FALSE(window->view().modified);
    window->askCompression = nullptr;
    for (const bool viaQuestion : {false, true}) {
        module.doc.colours.colors[CommandBar] = rgb(9, viaQuestion, 9);
        window->redrawShownView();
        EXPECT_TRUE(window->view().modified);
        QFile::remove(tsk("Dusk"));
        prompt.clear();
        if (viaQuestion) {
            prompt.answerQuestion(MsgResult::Yes);
            window->newTheme(2);
            EXPECT_EQ(prompt.calls().size(), 1u);
        } else {
            EXPECT_TRUE(window->saveToThemeFile());
            EXPECT_TRUE(prompt.calls().empty());
            EXPECT_FALSE(window->view().modified);
        }
        EXPECT_TRUE(varno::test::readFile(tsk("Dusk")).contains("\x89PNG")) << viaQuestion;
    }
    EXPECT_EQ(window->recentThemes(), QStringList{tsk("Dusk")});

    // A recent theme that has gone is taken off the list with a word.
    QFile::remove(tsk("Dusk"));
    window->openRecentTheme(tsk("Dusk"));
    EXPECT_TRUE(window->recentThemes().isEmpty());
    EXPECT_EQ(prompt.messages().back().icon, MsgIcon::Exclamation);
}
