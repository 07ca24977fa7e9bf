#include "app/appsettings.h"

#include <array>

namespace varno {

const char *const kDefaultName2 = "glintory.net";
const char *const kDefaultName3 = "www.velmora.net";

bool CAtoS::Process()
{
    m_out.clear();
    for (const int code : m_in)
        m_out += QChar(static_cast<char16_t>(code));
    return true;
}

QString SettingsKeyPath()
{
    // S O F T W A R E \ V A R N O \ S e t t i n g s
    static const std::vector<int> codes = {83, 79, 70, 84, 87,  65,  82,  69,  92,  86,  65, 82,
                                           78, 79, 92, 83, 101, 116, 116, 105, 110, 103, 115};
    CAtoS conv;
    conv.setDataIn(codes);
    conv.Process();
    return conv.DataOut();
}

namespace {

struct StringSetting {
    const char *name;
    QString AppSettings::*field;
};

// Every stored string and where it lives in memory.
constexpr std::array<StringSetting, 13> kStrings{{
    {"TTYPE", &AppSettings::TTYPE},
    {"ImagesPath", &AppSettings::ImagesPath},
    {"CapturePath", &AppSettings::CapturePath},
    {"TSKPath", &AppSettings::TSKPath},
    {"TodayText", &AppSettings::TodayText},
    {"Headings", &AppSettings::Headings},
    {"Name1", &AppSettings::Name1},
    {"Name2", &AppSettings::Name2},
    {"Name3", &AppSettings::Name3},
    {"Paths", &AppSettings::Paths},
    {"Picker", &AppSettings::Picker},
    {"GLNTUSER", &AppSettings::GLNTUSER},
    {"GLNTPWD", &AppSettings::GLNTPWD},
}};

QString AppSettings::*fieldOf(const char *name)
{
    for (const StringSetting &s : kStrings)
        if (!qstrcmp(s.name, name))
            return s.field;
    return nullptr;
}

}  // namespace

QString DefaultSetting(const QString &name, const AppPaths &paths)
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
    return QString();  // GLNTUSER, GLNTPWD
}

QString SettingsStore::readString(const char *name)
{
    const QString n = QString::fromLatin1(name);
    return m_reg.ReadRegStringWithDefault(Hive::HKEY_LOCAL_MACHINE, m_key, n,
                                          DefaultSetting(n, m_paths));
}

void SettingsStore::ReadAtStartup(AppSettings &s)
{
    for (const char *name :
         {"TTYPE", "ImagesPath", "CapturePath", "TSKPath", "TodayText", "GLNTUSER", "GLNTPWD"})
        s.*fieldOf(name) = readString(name);
    s.wm5colors = m_reg.ReadRegWordWithDefault(Hive::HKEY_LOCAL_MACHINE, m_key,
                                               QStringLiteral("wm5colors"), 0);
    for (const char *name : {"Name1", "Name2", "Name3", "Paths", "TodayText", "Headings", "Picker"})
        s.*fieldOf(name) = readString(name);
}

void SettingsStore::ReadFolders(AppSettings &s)
{
    for (const char *name : {"ImagesPath", "CapturePath", "TSKPath", "TodayText"})
        s.*fieldOf(name) = readString(name);
}

void SettingsStore::DefaultFolders(AppSettings &s) const
{
    s.TSKPath = DefaultSetting(QStringLiteral("TSKPath"), m_paths);
    s.ImagesPath = DefaultSetting(QStringLiteral("ImagesPath"), m_paths);
    s.CapturePath = DefaultSetting(QStringLiteral("CapturePath"), m_paths);
}

void SettingsStore::StoreAtExit(const AppSettings &s, const QString &themeType, bool wm5,
                                bool usePicker)
{
    const Hive h = Hive::HKEY_LOCAL_MACHINE;
    m_reg.SaveRegString(h, m_key, QStringLiteral("TTYPE"), themeType);
    // True is stored with all bits set, as the device-side tools expect.
    m_reg.SaveRegWord(h, m_key, QStringLiteral("wm5colors"), wm5 ? -1 : 0);
    AppSettings folders = s;
    if (s.Paths != QLatin1String("yes"))
        DefaultFolders(folders);
    m_reg.SaveRegString(h, m_key, QStringLiteral("ImagesPath"), folders.ImagesPath);
    m_reg.SaveRegString(h, m_key, QStringLiteral("CapturePath"), folders.CapturePath);
    m_reg.SaveRegString(h, m_key, QStringLiteral("TSKPath"), folders.TSKPath);
    m_reg.SaveRegString(h, m_key, QStringLiteral("Picker"),
                        usePicker ? QStringLiteral("T") : QStringLiteral("F"));
}

void SettingsStore::StoreDialogValues(const AppSettings &s)
{
    for (const char *name : {"Headings", "TodayText", "Paths", "Name1", "Name2", "Name3"})
        m_reg.SaveRegString(Hive::HKEY_LOCAL_MACHINE, m_key, QString::fromLatin1(name),
                            s.*fieldOf(name));
}

void SettingsStore::StoreLogin(const AppSettings &s)
{
    m_reg.SaveRegString(Hive::HKEY_LOCAL_MACHINE, m_key, QStringLiteral("GLNTUSER"), s.GLNTUSER);
    m_reg.SaveRegString(Hive::HKEY_LOCAL_MACHINE, m_key, QStringLiteral("GLNTPWD"), s.GLNTPWD);
}

}  // namespace varno
