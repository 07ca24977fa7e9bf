// Start-up, load and exit of the editor, read back from the settings file.
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/editor.h"
#include "ui/handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <future>

using namespace varno;
using namespace varno::test;

namespace {

const QString Key = QStringLiteral("Settings");

// One run of the editor: start-up, load, and exit when asked.
struct EditorRun {
    explicit EditorRun(ScriptedPrompt &p) : prompt(p), module(AppPaths::forEditor()) {}
    bool start()
    {
        if (module.start(prompt) != EditorSession::Start::ShowWindow)
            return false;
        window = std::make_unique<Editor>(module, prompt, screen);
        return window->start();
    }
    ScriptedPrompt &prompt;
    EditorSession module;
    RecordingScreen screen;
    std::unique_ptr<Editor> window;
};

// Settings as another program would see them, before or after a run.
SettingsFile settingsOf(const Sandbox &box)
{
    return SettingsFile(box.file(QStringLiteral("settings.reg")));
}

}  // namespace

TEST(Startup, FirstRunStoresEveryDefaultInReadingOrderAndMakesTheFolders)
{
    Sandbox box;
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(prompt.calls().empty());
    EXPECT_EQ(run.screen.requests, QStringList{QStringLiteral("LoadDefault")});

    const SettingsFile reg = settingsOf(box);
    QStringList stored;
    for (int i = 1; i <= reg.valueCount(Key); ++i) {
        const QString name = reg.valueName(Key, i);
        stored << name + u'=' +
                      (reg.valueType(Key, i) == QLatin1String("WRD")
                           ? QStringLiteral("#%1").arg(reg.readWord(Key, name))
                           : reg.readString(Key, name));
    }
    const QString home = box.path();
    EXPECT_EQ(stored, QStringList({"TTYPE=QVGA", "ImagesPath=" + home + "/images/",
                                   "CapturePath=" + home + "/capture/", "TSKPath=" + home + "/tsk/",
                                   "TodayText=all", "GLNTUSER=", "GLNTPWD=", "wm5colors=#0",
                                   "Name1=Glintory", "Name2=glintory.net", "Name3=www.velmora.net",
                                   "Paths=no", "Headings=manual", "Picker=F"}));
    EXPECT_TRUE(QFileInfo(box.file(QStringLiteral("capture"))).isDir());
}

// Which profile shows is the new-theme tests' business; here, which one is read.
TEST(Startup, StoredProfileIsShownAtLoadAndStoredAgainAtExit)
{
    const struct {
        const char *ttype;
        int32_t wm5;
        int checked;
    } cases[] = {{"VGA", 1, 5}, {"SQ240", -1, 6}, {"PPC", 0, -1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.ttype) + " " + std::to_string(c.wm5));
        Sandbox box;
        settingsOf(box).writeString(Key, "TTYPE", c.ttype);
        settingsOf(box).writeWord(Key, "wm5colors", c.wm5);
        ScriptedPrompt prompt;
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        EXPECT_EQ(run.window->view().checkedProfile, c.checked);
        EXPECT_EQ(run.module.doc.wm5Theme, c.wm5 != 0);
        run.window->quit();
        EXPECT_EQ(settingsOf(box).readString(Key, "TTYPE"), QString::fromLatin1(c.ttype));
        EXPECT_EQ(settingsOf(box).readWord(Key, "wm5colors"), c.wm5 ? -1 : 0);
    }
}

TEST(Startup, FoldersAreRememberedAcrossRunsOnlyWithPathsYes)
{
    for (const bool remember : {false, true}) {
        SCOPED_TRACE(remember ? "Paths yes" : "Paths no");
        Sandbox box;
        const QString elsewhere = box.file(QStringLiteral("elsewhere/"));
        settingsOf(box).writeString(Key, "Paths", remember ? "yes" : "no");
        settingsOf(box).writeString(Key, "TSKPath", elsewhere);
        settingsOf(box).writeString(Key, "Picker", "T");
        ScriptedPrompt prompt;
        {
            EditorRun run(prompt);
            ASSERT_TRUE(run.start());
            EXPECT_TRUE(run.window->view().useColorPickerChecked);
            // A dialog moves the images folder during the run.
            run.module.settings.imagesFolder = box.file(QStringLiteral("pictures"));
            run.window->quit();
        }
        EditorRun next(prompt);
        ASSERT_TRUE(next.start());
        EXPECT_EQ(next.module.settings.imagesFolder,
                  box.file(remember ? QStringLiteral("pictures") : QStringLiteral("images/")));
        EXPECT_EQ(next.module.settings.themesFolder,
                  remember ? elsewhere : box.file(QStringLiteral("tsk/")));
    }
}

TEST(Startup, ASecondStartEndsSilentlyUntilTheFirstHasGone)
{
    Sandbox box;
    ScriptedPrompt prompt, secondPrompt;
    {
        EditorRun first(prompt);
        ASSERT_TRUE(first.start());
        EditorSession second(AppPaths::forEditor());
        EXPECT_EQ(second.start(secondPrompt), EditorSession::Start::AlreadyRunning);
        EXPECT_TRUE(secondPrompt.calls().empty());
        first.window->quit();
    }
    EditorSession third(AppPaths::forEditor());
    EXPECT_EQ(third.start(prompt), EditorSession::Start::ShowWindow);
}

// A settings file that cannot be read whole, or cannot be saved, is said
// once and the editor starts: the lock lives apart from the settings, so
// even a settings folder that cannot be made lets it.
TEST(Startup, SettingsProblemsAreSaidOnceAndTheEditorStarts)
{
    for (const bool unsaveable : {false, true}) {
        Sandbox box;
        AppPaths paths = AppPaths::forEditor();
        writeFile(paths.settingsFile, "TTYPE=VGA\n");
        writeFile(box.file(QStringLiteral("blocker")), {});
        if (unsaveable)
            paths.settingsFile = box.file(QStringLiteral("blocker/settings.reg"));
        ScriptedPrompt prompt;
        EditorSession session(paths);
        ASSERT_EQ(session.start(prompt), EditorSession::Start::ShowWindow);
        ASSERT_EQ(prompt.messages().size(), 1u);
        const RecordedMessage m = prompt.messages()[0];
        EXPECT_TRUE(m.text.contains(unsaveable ? "Varno cannot save its settings to " +
                                                     QDir::toNativeSeparators(paths.settingsFile)
                                               : "line 1: a value stands outside any section"));
        EXPECT_EQ(m, okBox(m.text, "Velmora - Notice", MsgIcon::Exclamation));  // a notice
    }
}

// Over a real local socket, the sender in a thread of its own as a second
// process would be.
TEST(Startup, ASecondStartHandsItsFileToTheRunningEditor)
{
    Sandbox box;
    const QString socket = AppPaths::forEditor().handOverSocket();
    HandOver running;
    ASSERT_TRUE(running.listen(socket));
    QStringList received;
    QObject::connect(&running, &HandOver::fileReceived, [&](const QString &f) { received << f; });
    QObject::connect(&running, &HandOver::raiseRequested, [&] { received << "raise"; });
    const QString file = QStringLiteral("/themes/\u00e9t\u00e9 blue.tsk");
    auto sent = std::async(std::launch::async, [&] {
        return HandOver::send(socket, file) && HandOver::send(socket, "");
    });
    while (sent.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(received, QStringList({file, "raise"}));
    EXPECT_FALSE(HandOver::send(box.file(QStringLiteral("nobody.socket")), file, 200));
}

TEST(Startup, AWorkingFolderThatIsAFileStopsTheLoadWithItsBox)
{
    Sandbox box;
    writeFile(box.file(QStringLiteral("tsk")), {});
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(prompt.messages(), std::vector{okBox("Path/File access error\r\r(Error #75)",
                                                   "Error in frmMain: Sub Form_Load")});
    // The folders before it were made; the load stopped there.
    EXPECT_TRUE(QFileInfo(box.file(QStringLiteral("pt"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(box.file(QStringLiteral("images"))));
}
