// Start-up, load and exit of the editor, read back from the settings file.
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/editor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;
using varno::test::Sandbox;
using varno::test::ScriptedPrompt;

namespace {

const QString Key = QStringLiteral("Settings");

// One run of the editor: start-up, load, and exit when it goes out of scope.
struct EditorRun {
    explicit EditorRun(ScriptedPrompt &p) : prompt(p), module(AppPaths::forEditor()) {}
    bool start()
    {
        if (module.main(prompt) != EditorSession::Start::ShowWindow)
            return false;
        window = std::make_unique<Editor>(module, prompt, screen);
        return window->start();
    }
    void exit() { window->quit(); }

    ScriptedPrompt &prompt;
    EditorSession module;
    RecordingScreen screen;
    std::unique_ptr<Editor> window;
};

// Settings as another program would see them after the editor has gone.
SettingsFile storedSettings(const Sandbox &box)
{
    return SettingsFile(box.file(QStringLiteral("settings.reg")));
}

}  // namespace

TEST(Startup, FirstRunStoresEveryDefaultAndMakesTheFolders)
{
    Sandbox box;
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(prompt.calls().empty());

    SettingsFile reg = storedSettings(box);
    const QString home = box.path();
    const struct {
        const char *name;
        QString value;
    } expected[] = {{"TTYPE", "QVGA"},
                    {"ImagesPath", home + "/images/"},
                    {"CapturePath", home + "/capture/"},
                    {"TSKPath", home + "/tsk/"},
                    {"TodayText", "all"},
                    {"GLNTUSER", ""},
                    {"GLNTPWD", ""},
                    {"wm5colors", ""},
                    {"Name1", "Glintory"},
                    {"Name2", "glintory.net"},
                    {"Name3", "www.velmora.net"},
                    {"Paths", "no"},
                    {"Headings", "manual"},
                    {"Picker", "F"}};
    ASSERT_EQ(reg.valueCount(Key), 14);
    for (int i = 0; i < 14; ++i) {
        SCOPED_TRACE(expected[i].name);
        // Created in the order start-up reads them.
        EXPECT_EQ(reg.valueName(Key, i + 1), QString::fromLatin1(expected[i].name));
        if (i == 7) {
            EXPECT_EQ(reg.valueType(Key, i + 1), QStringLiteral("WRD"));
            EXPECT_EQ(reg.readWord(Key, "wm5colors"), 0);
        } else {
            EXPECT_EQ(reg.valueType(Key, i + 1), QStringLiteral("UNI"));
            EXPECT_EQ(reg.readString(Key, expected[i].name), expected[i].value);
        }
    }
    for (const char *f : {"tmp", "pt", "tsk", "images", "capture"})
        EXPECT_TRUE(QFileInfo(box.file(QString::fromLatin1(f))).isDir()) << f;

    const MainView &v = run.window->view();
    EXPECT_EQ(run.module.doc.themeType, QStringLiteral("QVGA"));
    EXPECT_FALSE(run.module.doc.wm5Theme);
    EXPECT_EQ(v.checkedProfile, 1);
    EXPECT_EQ(v.newThemePressed, (std::array<bool, 3>{false, true, false}));
    EXPECT_TRUE(v.landscapeVisible);
    EXPECT_FALSE(v.useColorPickerChecked);
    EXPECT_EQ(run.module.templateInf.size(), 737);
    EXPECT_EQ(run.module.doc.colours.colors.baseHueIndex, 417);
    EXPECT_EQ(run.module.doc.colours.colors.baseHueColor, rgb(54, 83, 178));
    EXPECT_EQ(run.screen.requests, QStringList{QStringLiteral("LoadDefault")});
}

TEST(Startup, StoredProfileIsShownAtLoad)
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
        {
            SettingsFile reg(box.file(QStringLiteral("settings.reg")));
            reg.writeString(Key, "TTYPE", c.ttype);
            reg.writeWord(Key, "wm5colors", c.wm5);
        }
        ScriptedPrompt prompt;
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        const MainView &v = run.window->view();
        EXPECT_EQ(v.checkedProfile, c.checked);
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(v.newThemePressed[b], b == c.pressed) << b;
        EXPECT_EQ(v.landscapeVisible, c.landscape);
        EXPECT_EQ(run.module.doc.wm5Theme, c.wm5 != 0);
        run.exit();
        SettingsFile after = storedSettings(box);
        EXPECT_EQ(after.readString(Key, "TTYPE"), QString::fromLatin1(c.ttype));
        EXPECT_EQ(after.readWord(Key, "wm5colors"), c.wm5 ? -1 : 0);
    }
}

TEST(Startup, ProfileOfTheWrongTypeReadsAsQvgaAndIsRewritten)
{
    Sandbox box;
    {
        SettingsFile reg(box.file(QStringLiteral("settings.reg")));
        reg.writeWord(Key, "TTYPE", 2);
    }
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.module.doc.themeType, QStringLiteral("QVGA"));
    SettingsFile reg = storedSettings(box);
    EXPECT_EQ(reg.readString(Key, "TTYPE"), QStringLiteral("QVGA"));
}

TEST(Startup, FoldersAreRememberedAcrossRunsOnlyWithPathsYes)
{
    for (const bool remember : {false, true}) {
        SCOPED_TRACE(remember ? "Paths yes" : "Paths no");
        Sandbox box;
        const QString elsewhere = box.file(QStringLiteral("elsewhere/"));
        {
            SettingsFile reg(box.file(QStringLiteral("settings.reg")));
            reg.writeString(Key, "Paths", remember ? "yes" : "no");
            reg.writeString(Key, "TSKPath", elsewhere);
        }
        ScriptedPrompt prompt;
        {
            EditorRun run(prompt);
            ASSERT_TRUE(run.start());
            EXPECT_EQ(run.module.settings.themesFolder,
                      remember ? elsewhere : box.file(QStringLiteral("tsk/")));
            // A dialog moves the images folder during the run.
            run.module.settings.imagesFolder = box.file(QStringLiteral("pictures"));
            run.exit();
        }
        SettingsFile reg = storedSettings(box);
        EXPECT_EQ(reg.readString(Key, "ImagesPath"), remember
                                                         ? box.file(QStringLiteral("pictures"))
                                                         : box.file(QStringLiteral("images/")));
        EXPECT_EQ(reg.readString(Key, "TSKPath"),
                  remember ? elsewhere : box.file(QStringLiteral("tsk/")));
        EditorRun next(prompt);
        ASSERT_TRUE(next.start());
        EXPECT_EQ(next.module.settings.imagesFolder, remember
                                                         ? box.file(QStringLiteral("pictures"))
                                                         : box.file(QStringLiteral("images/")));
    }
}

TEST(Startup, PickerModeIsOnlyAnUpperCaseT)
{
    const struct {
        const char *stored;
        bool on;
    } cases[] = {{"T", true}, {"t", false}, {"F", false}, {"TRUE", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        Sandbox box;
        {
            SettingsFile reg(box.file(QStringLiteral("settings.reg")));
            reg.writeString(Key, "Picker", c.stored);
        }
        ScriptedPrompt prompt;
        EditorRun run(prompt);
        ASSERT_TRUE(run.start());
        EXPECT_EQ(run.module.usePicker, c.on);
        EXPECT_EQ(run.window->view().useColorPickerChecked, c.on);
        run.exit();
        EXPECT_EQ(storedSettings(box).readString(Key, "Picker"),
                  c.on ? QStringLiteral("T") : QStringLiteral("F"));
    }
}

TEST(Startup, ASecondStartEndsSilentlyAndLeavesTheFirstAlone)
{
    Sandbox box;
    ScriptedPrompt prompt;
    const auto settingsBytes = [&] {
        QFile f(box.file(QStringLiteral("settings.reg")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        EditorRun first(prompt);
        ASSERT_TRUE(first.start());
        const QByteArray before = settingsBytes();

        ScriptedPrompt secondPrompt;
        EditorSession second(AppPaths::forEditor());
        EXPECT_EQ(second.main(secondPrompt), EditorSession::Start::AlreadyRunning);
        EXPECT_TRUE(secondPrompt.calls().empty());
        EXPECT_EQ(second.registry, nullptr);
        EXPECT_EQ(settingsBytes(), before);
        first.exit();
    }
    // Once the first has gone the next start goes ahead.
    EditorSession third(AppPaths::forEditor());
    EXPECT_EQ(third.main(prompt), EditorSession::Start::ShowWindow);
}

TEST(Startup, AWorkingFolderThatIsAFileStopsTheLoadWithItsBox)
{
    Sandbox box;
    QFile blocker(box.file(QStringLiteral("tsk")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedPrompt prompt;
    EditorRun run(prompt);
    EXPECT_FALSE(run.start());
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(
        prompt.messages()[0],
        (RecordedMessage{QStringLiteral("Path/File access error\r\r(Error #75)"), MsgIcon::Critical,
                         QStringLiteral("Error in frmMain: Sub Form_Load"), MsgButtons::OK}));
    // The folders before it were made; the load stopped there.
    EXPECT_TRUE(QFileInfo(box.file(QStringLiteral("pt"))).isDir());
    EXPECT_FALSE(QFileInfo(box.file(QStringLiteral("images"))).exists());
    EXPECT_TRUE(run.screen.requests.isEmpty());
    EXPECT_TRUE(QFileInfo(box.file(QStringLiteral("tsk"))).isFile());
}

TEST(Startup, ABrokenSettingsFileIsReportedOnceAndKept)
{
    Sandbox box;
    QFile f(box.file(QStringLiteral("settings.reg")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("TTYPE=VGA\n");
    f.close();
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
        run.exit();
    }
    EXPECT_EQ(QDir(box.path()).entryList({QStringLiteral("settings.reg.broken-*")}).size(), 1);
    ScriptedPrompt again;
    EditorRun next(again);
    ASSERT_TRUE(next.start());
    EXPECT_TRUE(again.calls().empty());
}
