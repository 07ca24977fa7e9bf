// The program's module-level state and its start procedure. Everything the
// windows share lives here for the whole run.
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/cregistry.h"
#include "app/instancelock.h"
#include "app/themedocument.h"
#include "base/prompt.h"
#include "colour/palettes.h"

#include <QByteArray>

#include <memory>

namespace varno {

class Module1 {
public:
    explicit Module1(AppPaths paths);
    ~Module1();

    enum class Start { AlreadyRunning, Failed, ShowWindow };
    // Start-up up to showing the main window (which the caller does).
    Start Main(Prompt &prompt);

    // Step 4 of exit: store and release the settings store.
    void ReleaseRegistry();

    AppPaths Paths;
    QString SettingsKey;
    std::unique_ptr<CRegistry> Registry;
    std::unique_ptr<SettingsStore> Store;
    AppSettings Settings;
    ThemeDocument Doc;
    Palettes Palette;
    bool UsePicker = false;
    QByteArray TemplateInf;

private:
    InstanceLock m_lock;
};

}  // namespace varno
