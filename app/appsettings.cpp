#include "app/appsettings.h"

#include <array>

namespace varno {

const char *const kDefaultName2 = "glintory.net";
const char *const kDefaultName3 = "www.velmora.net";

QString settingsSectionName()
{
    return QStringLiteral("Settings");
}

namespace {

struct StringSetting {
    const char *name;
    QString AppSettings::*field;
};

// Every stored string and where it lives in memory.
constexpr std::array<StringSetting, 13> kStrings{{
    {"TTYPE", &AppSettings::themeType},
    {"ImagesPath", &AppSettings::imagesFolder},
    {"CapturePath", &AppSettings::captureFolder},
    {"TSKPath", &AppSettings::themesFolder},
    {"TodayText", &AppSettings::todayText},
    {"Headings", &AppSettings::headings},
    {"Name1", &AppSettings::name1},
    {"Name2", &AppSettings::name2},
    {"Name3", &AppSettings::name3},
    {"Paths", &AppSettings::paths},
    {"Picker", &AppSettings::picker},
    {"GLNTUSER", &AppSettings::siteUser},
    {"GLNTPWD", &AppSettings::sitePassword},
}};

QString AppSettings::*fieldOf(const char *name)
{
    for (const StringSetting &s : kStrings)
        if (!qstrcmp(s.name, name))
            return s.field;
    return nullptr;
}

}  // namespace

QString defaultSetting(const QString &name, const AppPaths &paths)
{
    if (name == QLatin1String("TTYPE"))
        return QStringLiteral("QVGA");
    if (name == QLatin1String("ImagesPath"))
        return paths.defaultFolder(QStringLiteral("images"));
    if (name == QLatin1String("CapturePath"))
        return paths.defaultFolder(QStringLiteral("capture"));
    if (name == QLatin1String("TSKPath"))
        return paths.defaultFolder(QStringLiteral("tsk"));
    if (name == QLatin1String("TodayText"))
        return QStringLiteral("all");
    if (name == QLatin1String("Headings"))
        return QStringLiteral("manual");
    if (name == QLatin1String("Name1"))
        return QStringLiteral("Glintory");
    if (name == QLatin1String("Name2"))
        return QString::fromLatin1(kDefaultName2);
    if (name == QLatin1String("Name3"))
        return QString::fromLatin1(kDefaultName3);
    if (name == QLatin1String("Paths"))
        return QStringLiteral("no");
    if (name == QLatin1String("Picker"))
        return QStringLiteral("F");
    return QString();  // siteUser, sitePassword
}

QString SettingsStore::readString(const char *name)
{
    const QString n = QString::fromLatin1(name);
    return m_reg.readStringOrStore(m_key, n, defaultSetting(n, m_paths));
}

void SettingsStore::readAtStartup(AppSettings &s)
{
    SettingsFile::Batch batch(m_reg);
    for (const char *name :
         {"TTYPE", "ImagesPath", "CapturePath", "TSKPath", "TodayText", "GLNTUSER", "GLNTPWD"})
        s.*fieldOf(name) = readString(name);
    s.wm5Colours = m_reg.readWordOrStore(m_key, QStringLiteral("wm5colors"), 0);
    for (const char *name : {"Name1", "Name2", "Name3", "Paths", "TodayText", "Headings", "Picker"})
        s.*fieldOf(name) = readString(name);
}

void SettingsStore::readFolders(AppSettings &s)
{
    SettingsFile::Batch batch(m_reg);
    for (const char *name : {"ImagesPath", "CapturePath", "TSKPath", "TodayText"})
        s.*fieldOf(name) = readString(name);
}

void SettingsStore::defaultFolders(AppSettings &s) const
{
    s.themesFolder = defaultSetting(QStringLiteral("TSKPath"), m_paths);
    s.imagesFolder = defaultSetting(QStringLiteral("ImagesPath"), m_paths);
    s.captureFolder = defaultSetting(QStringLiteral("CapturePath"), m_paths);
}

void SettingsStore::storeAtExit(const AppSettings &s, const QString &themeType, bool wm5,
                                bool usePicker)
{
    SettingsFile::Batch batch(m_reg);
    m_reg.writeString(m_key, QStringLiteral("TTYPE"), themeType);
    // True is stored with all bits set, as the device-side tools expect.
    m_reg.writeWord(m_key, QStringLiteral("wm5colors"), wm5 ? -1 : 0);
    AppSettings folders = s;
    if (s.paths != QLatin1String("yes"))
        defaultFolders(folders);
    m_reg.writeString(m_key, QStringLiteral("ImagesPath"), folders.imagesFolder);
    m_reg.writeString(m_key, QStringLiteral("CapturePath"), folders.captureFolder);
    m_reg.writeString(m_key, QStringLiteral("TSKPath"), folders.themesFolder);
    m_reg.writeString(m_key, QStringLiteral("Picker"),
                      usePicker ? QStringLiteral("T") : QStringLiteral("F"));
}

void SettingsStore::storeDialogValues(const AppSettings &s)
{
    SettingsFile::Batch batch(m_reg);
    for (const char *name : {"Headings", "TodayText", "Paths", "Name1", "Name2", "Name3"})
        m_reg.writeString(m_key, QString::fromLatin1(name), s.*fieldOf(name));
}

void SettingsStore::storeLogin(const AppSettings &s)
{
    SettingsFile::Batch batch(m_reg);
    m_reg.writeString(m_key, QStringLiteral("GLNTUSER"), s.siteUser);
    m_reg.writeString(m_key, QStringLiteral("GLNTPWD"), s.sitePassword);
}

}  // namespace varno
