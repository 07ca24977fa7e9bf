// The stored settings, their types and defaults in one table, and the
// orders in which start-up, load and exit read and write them.
#pragma once

#include "app/apppaths.h"
#include "app/cregistry.h"

#include <QString>

#include <cstdint>

namespace varno {

// Builds a string from character codes, one character per code.
class CAtoS {
public:
    void setDataIn(const std::vector<int> &codes) { m_in = codes; }
    bool Process();
    QString DataOut() const { return m_out; }

private:
    std::vector<int> m_in;
    QString m_out;
};

// The settings key under HKEY_LOCAL_MACHINE, built from its character codes.
QString SettingsKeyPath();

struct AppSettings {
    QString TTYPE;
    int32_t wm5colors = 0;
    QString ImagesPath;
    QString CapturePath;
    QString TSKPath;
    QString TodayText;
    QString Headings;
    QString Name1;
    QString Name2;
    QString Name3;
    QString Paths;
    QString Picker;
    QString GLNTUSER;
    QString GLNTPWD;
};

// Default of a stored string value; "" for an unknown name.
QString DefaultSetting(const QString &name, const AppPaths &paths);

// The owner's web names shown on the Today screen by default.
extern const char *const kDefaultName2;
extern const char *const kDefaultName3;

class SettingsStore {
public:
    SettingsStore(CRegistry &registry, const AppPaths &paths, QString key)
        : m_reg(registry), m_paths(paths), m_key(std::move(key))
    {
    }

    // Every value in the start-up order, each with its default written back
    // when missing.
    void ReadAtStartup(AppSettings &s);
    // The three folders and TodayText again (the "remember folders" case).
    void ReadFolders(AppSettings &s);
    // The three folders set to their defaults under the application folder.
    void DefaultFolders(AppSettings &s) const;
    // Exit: profile, folders (used or default by `Paths`), picker.
    void StoreAtExit(const AppSettings &s, const QString &themeType, bool wm5, bool usePicker);
    // The settings dialog's values, in its order.
    void StoreDialogValues(const AppSettings &s);
    // The web login.
    void StoreLogin(const AppSettings &s);

    CRegistry &registry() { return m_reg; }
    const QString &key() const { return m_key; }

private:
    QString readString(const char *name);

    CRegistry &m_reg;
    const AppPaths &m_paths;
    QString m_key;
};

}  // namespace varno
