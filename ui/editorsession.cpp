#include "ui/editorsession.h"

#include "base/messages.h"
#include "base/trap.h"

#include <QDir>

namespace varno {

EditorSession::EditorSession(AppPaths appPaths)
    : paths(std::move(appPaths)), m_lock(paths.lockFile())
{
}

EditorSession::~EditorSession() = default;

EditorSession::Start EditorSession::start(Prompt &prompt)
{
    // One editor at a time. A lock that cannot be made at all must not keep
    // the editor from starting; the caller is told why.
    const InstanceLock::Outcome lock = m_lock.tryLock();
    if (lock == InstanceLock::Outcome::HeldByOther)
        return Start::AlreadyRunning;
    m_lockProblem = lock == InstanceLock::Outcome::Unavailable ? m_lock.problem() : QString();

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
            if (registry->loadProblem().isEmpty() && !registry->writable())
                prompt.messageBox(
                    QStringLiteral("Varno cannot save its settings to %1 (%2). Settings changed "
                                   "in this session last until Varno closes.")
                        .arg(QDir::toNativeSeparators(paths.settingsFile),
                             registry->writeProblem()),
                    MsgIcon::Exclamation, stringResource(Str::Notice));
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
