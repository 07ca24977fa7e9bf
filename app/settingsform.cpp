#include "app/settingsform.h"

#include "base/messages.h"
#include "base/trap.h"

namespace varno {

void SettingsForm::load()
{
    foldersOption = m_settings.paths == QLatin1String("yes") ? 1 : 0;
    name1 = m_settings.name1;
    name2 = m_settings.name2;
    name3 = m_settings.name3;
    static const QStringList modes = {QStringLiteral("all"), QStringLiteral("notm"),
                                      QStringLiteral("notmm"), QStringLiteral("none")};
    todayTextOption = static_cast<int>(modes.indexOf(m_settings.todayText));
    // Any unknown rule shows as the last option.
    headingsOption = m_settings.headings == QLatin1String("manual") ? 0
                     : m_settings.headings == QLatin1String("same") ? 1
                                                                    : 2;
}

bool SettingsForm::accept()
{
    const QString names[] = {name1.trimmed(), name2.trimmed(), name3.trimmed()};
    for (int i = 0; i < 3; ++i) {
        if (names[i].isEmpty()) {
            m_prompt.messageBox(QStringLiteral("Please Enter a Name in Name %1").arg(i + 1),
                                MsgIcon::Exclamation, stringResource(Str::Maker));
            return false;
        }
    }
    bool closes = false;
    trapLong(m_prompt, QStringLiteral("btnButton_Click"), [&] {
        m_settings.name1 = names[0];
        m_settings.name2 = names[1];
        m_settings.name3 = names[2];
        m_settings.paths = foldersOption == 0 ? QStringLiteral("no") : QStringLiteral("yes");
        m_settings.todayText = todayTextOption == 0   ? QStringLiteral("all")
                               : todayTextOption == 1 ? QStringLiteral("notm")
                               : todayTextOption == 2 ? QStringLiteral("notmm")
                                                      : QStringLiteral("none");
        m_settings.headings = headingsOption == 0   ? QStringLiteral("manual")
                              : headingsOption == 1 ? QStringLiteral("same")
                                                    : QStringLiteral("opposite");
        m_store.storeDialogValues(m_settings);
        closes = true;
    });
    return closes;
}

bool SettingsForm::pressButton(int index)
{
    if (index == 0)
        return true;
    if (index == 1)
        return accept();
    return false;
}

}  // namespace varno
