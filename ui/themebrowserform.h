// The theme browser window's logic: the memory notice and the number of
// themes it reckons viewable, the folder shown first, the progress text,
// the larger view of the picked theme, and "Select". The list itself is a
// ThemeBrowserModel; the window is a thin Qt dialog over this.
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "base/prompt.h"
#include "package/themebrowsermodel.h"

#include <QImage>

#include <functional>
#include <optional>

namespace varno {

// Free physical memory in bytes (MemAvailable); nothing when unknown.
std::optional<qint64> availableMemory();

class ThemeBrowserForm {
public:
    ThemeBrowserForm(Prompt &prompt, const AppSettings &settings, const AppPaths &paths,
                     std::function<std::optional<qint64>()> freeMemory = availableMemory);

    // Every activation: the notice, the limit, and the check of the themes
    // folder against it. The first one also says which folder to show.
    // True when it showed a message box.
    bool activate();
    // The folder to show (from the folder list); the list starts afresh.
    void showFolder(const QString &folder);
    // The picked thumbnail; the larger view follows it.
    void pick(int row);
    // The theme to open, or empty (with the reason said) when none is picked.
    QString select();
    // The window closes: the scratch folder is emptied.
    void close();

    ThemeBrowserModel model;
    QString memoryNotice;
    int viewableLimit = 0;
    bool selectEnabled = true;
    bool foldersEnabled = true;
    QString folderShown;  // set by the first activation, then by showFolder
    QString countText;    // "count/made"
    QImage largeView;
    QString pickedFile;

private:
    void updateCount();

    Prompt &m_prompt;
    const AppSettings &m_settings;
    AppPaths m_paths;
    std::function<std::optional<qint64>()> m_freeMemory;
    bool m_activated = false;
};

}  // namespace varno
