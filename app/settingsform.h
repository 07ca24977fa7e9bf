// The settings dialog without its widgets: the owner name and meeting
// entries, which Today items are drawn, the heading rule, and whether
// folders are remembered across runs.
#pragma once

#include "app/appsettings.h"
#include "base/prompt.h"

#include <QString>

namespace varno {

class SettingsForm {
public:
    SettingsForm(Prompt &prompt, AppSettings &settings, SettingsStore &store)
        : m_prompt(prompt), m_settings(settings), m_store(store)
    {
    }

    // Fills the controls from the settings.
    void load();
    // 0 Cancel, 1 Accept Changes. True when the dialog closes.
    bool pressButton(int index);

    // What the controls hold; -1 is an option group with nothing selected.
    QString name1, name2, name3;
    int todayTextOption = -1;  // 0 all, 1 notm, 2 notmm, 3 none
    int headingsOption = -1;   // 0 manual, 1 same, 2 opposite
    int foldersOption = 0;     // 0 this session only, 1 across sessions

private:
    bool accept();

    Prompt &m_prompt;
    AppSettings &m_settings;
    SettingsStore &m_store;
};

}  // namespace varno
