#include "ui/editorsession.h"

#include "base/messages.h"
#include "base/trap.h"

namespace varno {

EditorSession::EditorSession(AppPaths appPaths)
    : paths(std::move(appPaths)), m_lock(paths.lockFile())
{
}

EditorSession::~EditorSession() = default;

EditorSession::Start EditorSession::start(Prompt &prompt)
{
    // One editor at a time; a second start ends silently.
    if (!m_lock.tryLock())
        return Start::AlreadyRunning;

    const bool ok =
        trap(prompt, QStringLiteral("Module1"), QStringLiteral("Sub"), QStringLiteral("Main"), [&] {
            // The settings key and the store.
            settingsKey = settingsSectionName();
            registry = std::make_unique<SettingsFile>(paths.settingsFile);
            store = std::make_unique<SettingsStore>(*registry, paths, settingsKey);
            if (!registry->loadProblem().isEmpty())
                prompt.messageBox(registry->loadProblem(), MsgIcon::Exclamation,
                                  stringResource(Str::Notice));
            // Every stored value, creating missing ones.
            store->readAtStartup(settings);
            doc.themeType = settings.themeType;
            doc.wm5Theme = settings.wm5Colours != 0;
            usePicker = settings.picker == QLatin1String("T");
            // The initial base hue.
            doc.colours.colors.baseHueIndex = 417;
            doc.colours.colors.baseHueColor = 11686454;
            palette = buildPalettes();
        });
    if (!ok) {
        m_lock.unlock();
        return Start::Failed;
    }
    return Start::ShowWindow;
}

void EditorSession::releaseSettingsFile()
{
    store.reset();
    registry.reset();
}

}  // namespace varno
