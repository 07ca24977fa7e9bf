// The program's module-level state and its start procedure. Everything the
// windows share lives here for the whole run.
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/settingsfile.h"
#include "app/instancelock.h"
#include "app/themedocument.h"
#include "base/prompt.h"
#include "colour/palettes.h"

#include <QByteArray>

#include <memory>

namespace varno {

class EditorSession {
public:
    explicit EditorSession(AppPaths paths);
    ~EditorSession();

    enum class Start { AlreadyRunning, Failed, ShowWindow };
    // Start-up up to showing the main window (which the caller does).
    Start start(Prompt &prompt);

    // Step 4 of exit: store and release the settings store.
    void releaseSettingsFile();
    // Why the single-instance lock could not be made; empty when it was.
    QString lockProblem() const { return m_lockProblem; }

    AppPaths paths;
    QString settingsKey;
    std::unique_ptr<SettingsFile> registry;
    std::unique_ptr<SettingsStore> store;
    AppSettings settings;
    ThemeDocument doc;
    Palettes palette;
    bool usePicker = false;
    QByteArray templateInf;

private:
    InstanceLock m_lock;
    QString m_lockProblem;
};

}  // namespace varno
