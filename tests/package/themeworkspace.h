// A theme document with its own application folder and working folders, and
// a view that records what loading shows, for the saving and loading tests.
#pragma once

#include "colour/colortable.h"
#include "package/savetheme.h"
#include "package/themeloader.h"
#include "resources/resources.h"
#include "support/rasters.h"
#include "support/scriptedprompt.h"

namespace varno::test {

struct RecordingView : ThemeLoadView {
    void showProfile(int checked, int pressed) override
    {
        calls << QStringLiteral("profile %1 %2").arg(checked).arg(pressed);
    }
    void setLandscapeVisible(bool v) override { calls << QStringLiteral("landscape %1").arg(v); }
    void drawScreen(const QString &v) override { calls << QStringLiteral("DoScreenMain ") + v; }
    void closeImageDialogs() override { calls << QStringLiteral("CloseImageDialogs"); }
    QStringList calls;
};

class ThemeWorkspace : public ::testing::Test {
protected:
    void SetUp() override
    {
        paths.appFolder = home.path();
        paths.settingsFile = home.filePath("settings.reg");
        paths.tmpFolder = home.filePath("tmp");
        for (const QString &f : workingFolderNames())
            QDir().mkpath(paths.folder(f));
        settings.themesFolder = paths.defaultFolder("tsk");
        doc.colours.colors = defaultThemeColors();
    }
    ThemeContext ctx() { return {prompt, doc, settings, paths, templateInf, palettes}; }
    bool save(const QString &compression, const QString &target)
    {
        ThemeContext c = ctx();
        return saveTheme(c, compression, target);
    }
    // The working folder as a load or save leaves it.
    QStringList leftovers() const
    {
        return QDir(paths.tmpFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir home;
    AppPaths paths;
    AppSettings settings;
    ThemeDocument doc;
    ScriptedPrompt prompt;
    QByteArray templateInf = customResource("TOPINF");
    Palettes palettes = buildPalettes();
    RecordingView view;
};

}  // namespace varno::test
