#include "app/frmsettings.h"

#include "base/messages.h"
#include "base/trap.h"

namespace varno {

void frmSettings::Form_Load()
{
    radDirectories = m_settings.Paths == QLatin1String("yes") ? 1 : 0;
    txtName1 = m_settings.Name1;
    txtName2 = m_settings.Name2;
    txtName3 = m_settings.Name3;
    static const QStringList modes = {QStringLiteral("all"), QStringLiteral("notm"),
                                      QStringLiteral("notmm"), QStringLiteral("none")};
    radTodayText = static_cast<int>(modes.indexOf(m_settings.TodayText));
    // Any unknown rule shows as the last option.
    radHeadings = m_settings.Headings == QLatin1String("manual") ? 0
                  : m_settings.Headings == QLatin1String("same") ? 1
                                                                 : 2;
}

bool frmSettings::accept()
{
    const QString names[] = {txtName1.trimmed(), txtName2.trimmed(), txtName3.trimmed()};
    for (int i = 0; i < 3; ++i) {
        if (names[i].isEmpty()) {
            m_prompt.MsgBox(QStringLiteral("Please Enter a Name in Name %1").arg(i + 1),
                            MsgIcon::Exclamation, LoadResString(Str::Maker));
            return false;
        }
    }
    bool closes = false;
    trapLong(m_prompt, QStringLiteral("btnButton_Click"), [&] {
        m_settings.Name1 = names[0];
        m_settings.Name2 = names[1];
        m_settings.Name3 = names[2];
        m_settings.Paths = radDirectories == 0 ? QStringLiteral("no") : QStringLiteral("yes");
        m_settings.TodayText = radTodayText == 0   ? QStringLiteral("all")
                               : radTodayText == 1 ? QStringLiteral("notm")
                               : radTodayText == 2 ? QStringLiteral("notmm")
                                                   : QStringLiteral("none");
        m_settings.Headings = radHeadings == 0   ? QStringLiteral("manual")
                              : radHeadings == 1 ? QStringLiteral("same")
                                                 : QStringLiteral("opposite");
        m_store.StoreDialogValues(m_settings);
        closes = true;
    });
    return closes;
}

bool frmSettings::btnButton_Click(int index)
{
    if (index == 0)
        return true;
    if (index == 1)
        return accept();
    return false;
}

}  // namespace varno
