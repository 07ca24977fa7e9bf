// The stored settings, their types and defaults in one table, and the
// orders in which start-up, load and exit read and write them.
#pragma once

#include "app/apppaths.h"
#include "app/settingsfile.h"

#include <QString>

#include <cstdint>

namespace varno {

// The section of the settings file that holds the stored settings.
QString settingsSectionName();

struct AppSettings {
    QString themeType;
    int32_t wm5Colours = 0;
    QString imagesFolder;
    QString captureFolder;
    QString themesFolder;
    QString todayText;
    QString headings;
    QString name1;
    QString name2;
    QString name3;
    QString paths;
    QString picker;
    QString siteUser;
    QString sitePassword;
};

// Default of a stored string value; "" for an unknown name.
QString defaultSetting(const QString &name, const AppPaths &paths);

// The owner's web names shown on the Today screen by default.
extern const char *const kDefaultName2;
extern const char *const kDefaultName3;

class SettingsStore {
public:
    SettingsStore(SettingsFile &registry, const AppPaths &paths, QString key)
        : m_reg(registry), m_paths(paths), m_key(std::move(key))
    {
    }

    // Every value in the start-up order, each with its default written back
    // when missing.
    void readAtStartup(AppSettings &s);
    // The three folders and TodayText again (the "remember folders" case).
    void readFolders(AppSettings &s);
    // The three folders set to their defaults under the application folder.
    void defaultFolders(AppSettings &s) const;
    // Exit: profile, folders (used or default by `Paths`), picker.
    void storeAtExit(const AppSettings &s, const QString &themeType, bool wm5, bool usePicker);
    // The settings dialog's values, in its order.
    void storeDialogValues(const AppSettings &s);
    // The web login.
    void storeLogin(const AppSettings &s);

    SettingsFile &registry() { return m_reg; }
    const QString &key() const { return m_key; }

private:
    QString readString(const char *name);

    SettingsFile &m_reg;
    const AppPaths &m_paths;
    QString m_key;
};

}  // namespace varno
