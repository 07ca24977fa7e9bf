// A theme document with its own application folder and working folders,
// for the saving and loading tests.
#pragma once

#include "colour/colortable.h"
#include "package/savetheme.h"
#include "resources/resources.h"
#include "support/scriptedprompt.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace varno::test {

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

    QTemporaryDir home;
    AppPaths paths;
    AppSettings settings;
    ThemeDocument doc;
    ScriptedPrompt prompt;
    QByteArray templateInf = customResource("TOPINF");
    Palettes palettes = buildPalettes();
};

}  // namespace varno::test
