#include "ui/module1.h"

#include "base/messages.h"
#include "base/trap.h"

namespace varno {

Module1::Module1(AppPaths paths) : Paths(std::move(paths)), m_lock(Paths.lockFile())
{
}

Module1::~Module1() = default;

Module1::Start Module1::Main(Prompt &prompt)
{
    // 1. One editor at a time; a second start ends silently.
    if (!m_lock.tryLock())
        return Start::AlreadyRunning;

    const bool ok =
        trap(prompt, QStringLiteral("Module1"), QStringLiteral("Sub"), QStringLiteral("Main"), [&] {
            // 2. The settings key and the store.
            SettingsKey = SettingsKeyPath();
            Registry = std::make_unique<CRegistry>(Paths.settingsFile);
            Store = std::make_unique<SettingsStore>(*Registry, Paths, SettingsKey);
            if (!Registry->loadProblem().isEmpty())
                prompt.MsgBox(Registry->loadProblem(), MsgIcon::Exclamation,
                              LoadResString(Str::Notice));
            // 3. Every stored value, creating missing ones.
            Store->ReadAtStartup(Settings);
            Doc.ThemeType = Settings.TTYPE;
            Doc.Wm5Theme = Settings.wm5colors != 0;
            // 4.
            UsePicker = Settings.Picker == QLatin1String("T");
            // 5. The initial base hue.
            Doc.Colours.Colors.BaseHueIndex = 417;
            Doc.Colours.Colors.BaseHueColor = 11686454;
            // 6.
            Palette = BuildPalettes();
        });
    if (!ok) {
        m_lock.unlock();
        return Start::Failed;
    }
    return Start::ShowWindow;
}

void Module1::ReleaseRegistry()
{
    Store.reset();
    Registry.reset();
}

}  // namespace varno
