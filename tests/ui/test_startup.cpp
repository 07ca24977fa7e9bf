// Start-up, load and exit of the editor, read back from the settings file.
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/editor.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace varno;
using namespace varno::test;

namespace {

const QString Key = QStringLiteral("Settings");

// One run of the editor: start-up, load, and exit when asked.
struct EditorRun {
    explicit EditorRun(ScriptedPrompt &p) : prompt(p), module(AppPaths::forEditor()) {}
    bool start()
    {
        if (module.main(prompt) != EditorSession::Start::ShowWindow)
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
    for (const char *f : {"tmp", "pt", "tsk", "images", "capture"})
        EXPECT_TRUE(QFileInfo(box.file(QString::fromLatin1(f))).isDir()) << f;
}

TEST(Startup, StoredProfileIsShownAtLoadAndStoredAgainAtExit)
{
    const struct {
        const char *ttype;
        int32_t wm5;
        int checked;
        int pressed;  // -1 none
        bool landscape;
    } cases[] = {{"STD", 0, 0, 0, false},     {"QVGA", 0, 1, 1, true},   {"VGA", 0, 2, 2, true},
                 {"SQ240", 0, 3, -1, false},  {"QVGA", -1, 4, -1, true}, {"VGA", 1, 5, -1, true},
                 {"SQ240", -1, 6, -1, false}, {"STD", -1, 0, 0, false},  {"PPC", 0, -1, -1, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.ttype) + " " + std::to_string(c.wm5));
        Sandbox box;
        settingsOf(box).writeString(Key, "TTYPE", c.ttype);
        settingsOf(box).writeWord(Key, "wm5colors", c.wm5);
        ScriptedPrompt prompt;
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        const MainView &v = run.window->view();
        EXPECT_EQ(v.checkedProfile, c.checked);
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(v.newThemePressed[b], b == c.pressed) << b;
        EXPECT_EQ(v.landscapeVisible, c.landscape);
        EXPECT_EQ(run.module.doc.wm5Theme, c.wm5 != 0);
        run.window->quit();
        EXPECT_EQ(settingsOf(box).readString(Key, "TTYPE"), QString::fromLatin1(c.ttype));
        EXPECT_EQ(settingsOf(box).readWord(Key, "wm5colors"), c.wm5 ? -1 : 0);
    }
}

TEST(Startup, ProfileOfTheWrongTypeReadsAsQvgaAndIsRewritten)
{
    Sandbox box;
    settingsOf(box).writeWord(Key, "TTYPE", 2);
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.module.doc.themeType, QStringLiteral("QVGA"));
    EXPECT_EQ(settingsOf(box).readString(Key, "TTYPE"), QStringLiteral("QVGA"));
}

TEST(Startup, FoldersAreRememberedAcrossRunsOnlyWithPathsYes)
{
    for (const bool remember : {false, true}) {
        SCOPED_TRACE(remember ? "Paths yes" : "Paths no");
        Sandbox box;
        const QString elsewhere = box.file(QStringLiteral("elsewhere/"));
        settingsOf(box).writeString(Key, "Paths", remember ? "yes" : "no");
        settingsOf(box).writeString(Key, "TSKPath", elsewhere);
        ScriptedPrompt prompt;
        {
            EditorRun run(prompt);
            ASSERT_TRUE(run.start());
            EXPECT_EQ(run.module.settings.themesFolder,
                      remember ? elsewhere : box.file(QStringLiteral("tsk/")));
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

TEST(Startup, PickerModeIsOnlyAnUpperCaseT)
{
    for (const char *stored : {"T", "t", "TRUE"}) {
        SCOPED_TRACE(stored);
        const bool on = QLatin1String(stored) == "T";
        Sandbox box;
        settingsOf(box).writeString(Key, "Picker", stored);
        ScriptedPrompt prompt;
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        EXPECT_EQ(run.window->view().useColorPickerChecked, on);
        run.window->quit();
        EXPECT_EQ(settingsOf(box).readString(Key, "Picker"), on ? "T" : "F");
    }
}

TEST(Startup, ASecondStartEndsSilentlyAndLeavesTheFirstAlone)
{
    Sandbox box;
    ScriptedPrompt prompt;
    {
        EditorRun first(prompt);
        ASSERT_TRUE(first.start());
        const QByteArray before = readFile(box.file(QStringLiteral("settings.reg")));
        ScriptedPrompt secondPrompt;
        EditorSession second(AppPaths::forEditor());
        EXPECT_EQ(second.main(secondPrompt), EditorSession::Start::AlreadyRunning);
        EXPECT_TRUE(secondPrompt.calls().empty());
        EXPECT_EQ(readFile(box.file(QStringLiteral("settings.reg"))), before);
        first.window->quit();
    }
    // Once the first has gone the next start goes ahead.
    EditorSession third(AppPaths::forEditor());
    EXPECT_EQ(third.main(prompt), EditorSession::Start::ShowWindow);
}

TEST(Startup, AWorkingFolderThatIsAFileStopsTheLoadWithItsBox)
{
    Sandbox box;
    writeFile(box.file(QStringLiteral("tsk")), {});
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(prompt.messages(), (std::vector<RecordedMessage>{
                                     {"Path/File access error\r\r(Error #75)", MsgIcon::Critical,
                                      "Error in frmMain: Sub Form_Load", MsgButtons::OK}}));
    // The folders before it were made; the load stopped there.
    EXPECT_TRUE(QFileInfo(box.file(QStringLiteral("pt"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(box.file(QStringLiteral("images"))));
    EXPECT_TRUE(run.screen.requests.isEmpty());
}

TEST(Startup, ABrokenSettingsFileIsReportedOnceAndKept)
{
    Sandbox box;
    writeFile(box.file(QStringLiteral("settings.reg")), "TTYPE=VGA\n");
    ScriptedPrompt prompt;
    {
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        ASSERT_EQ(prompt.messages().size(), 1u);
        EXPECT_EQ(prompt.messages()[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(prompt.messages()[0].title, QStringLiteral("Velmora - Notice"));
        EXPECT_TRUE(prompt.messages()[0].text.contains(
            QStringLiteral("line 1: a value stands outside any section")));
        EXPECT_EQ(run.module.doc.themeType, QStringLiteral("QVGA"));
        run.window->quit();
    }
    EXPECT_EQ(QDir(box.path()).entryList({QStringLiteral("settings.reg.broken-*")}).size(), 1);
    ScriptedPrompt again;
    EditorRun next(again);
    ASSERT_TRUE(next.start());
    EXPECT_TRUE(again.calls().empty());
}
