#include "app/cregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcApp, "varno.app")

namespace varno {

namespace {

QString hiveName(Hive hive)
{
    switch (hive) {
    case Hive::HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case Hive::HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case Hive::HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Hive::HKEY_USERS: return QStringLiteral("HKEY_USERS");
    }
    return QString();
}

// The registry treats "a\\b", "a\b" and "\a\b\" alike.
QString normaliseKey(const QString &key)
{
    QStringList parts;
    for (const QString &p : key.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        parts << p;
    return parts.join(QLatin1Char('\\'));
}

}  // namespace

CRegistry::CRegistry(QString filePath) : m_path(std::move(filePath))
{
    load();
}

void CRegistry::load()
{
    QFile f(m_path);
    if (!f.exists())
        return;
    QString why;
    std::optional<RegistryTree> tree;
    if (!f.open(QIODevice::ReadOnly))
        why = f.errorString();
    else
        tree = RegistryTree::parse(f.readAll(), &why);
    f.close();
    if (tree) {
        m_tree = std::move(*tree);
        return;
    }
    // Keep the user's file: move it aside and start from the defaults.
    const QString stamp = m_path + QStringLiteral(".broken-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(m_path, aside)) {
        m_problem =
            QStringLiteral("The settings file %1 could not be read (%2). It has been "
                           "kept as %3, and Varno starts with its default settings.")
                .arg(QDir::toNativeSeparators(m_path), why, QDir::toNativeSeparators(aside));
    } else {
        m_writable = false;
        m_problem = QStringLiteral("The settings file %1 could not be read (%2). Varno starts "
                                   "with its default settings and will not change that file.")
                        .arg(QDir::toNativeSeparators(m_path), why);
    }
    qCWarning(lcApp) << m_problem;
}

void CRegistry::persist()
{
    if (!m_writable)
        return;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    const QByteArray data = m_tree.serialize();
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        // Stored settings are never worth an error box; log it once.
        if (!m_lastWriteFailed)
            qCWarning(lcApp) << "cannot write settings to" << m_path << f.errorString();
        m_lastWriteFailed = true;
        return;
    }
    m_lastWriteFailed = false;
}

QString CRegistry::fullPath(Hive hive, const QString &key)
{
    const QString k = normaliseKey(key);
    return k.isEmpty() ? hiveName(hive) : hiveName(hive) + QLatin1Char('\\') + k;
}

const RegKey *CRegistry::key(Hive hive, const QString &key) const
{
    if (hiveName(hive).isEmpty())
        return nullptr;
    return m_tree.find(fullPath(hive, key));
}

const RegValue *CRegistry::value(Hive hive, const QString &k, const QString &name) const
{
    const RegKey *rk = key(hive, k);
    return rk ? RegistryTree::findValue(*rk, name) : nullptr;
}

RegValue &CRegistry::valueForWrite(Hive hive, const QString &k, const QString &name)
{
    RegKey &rk = m_tree.create(fullPath(hive, k));
    if (RegValue *v = RegistryTree::findValue(rk, name))
        return *v;
    RegValue v;
    v.name = name;
    rk.values.push_back(v);
    return rk.values.back();
}

bool CRegistry::CreateRegKey(Hive hive, const QString &k)
{
    if (hiveName(hive).isEmpty())
        return false;
    if (!key(hive, k)) {
        m_tree.create(fullPath(hive, k));
        persist();
    }
    return m_writable;
}

QString CRegistry::ReadRegStringWithDefault(Hive hive, const QString &k, const QString &name,
                                            const QString &def)
{
    const RegValue *v = value(hive, k, name);
    if (!v || v->type != REG_SZ) {
        SaveRegString(hive, k, name, def);
        return def;
    }
    const int zero = v->text.indexOf(QChar(0));
    if (zero >= 0)
        return v->text.left(zero);
    return v->text.isEmpty() ? def : v->text;
}

QString CRegistry::ReadRegString(Hive hive, const QString &k, const QString &name) const
{
    const RegValue *v = value(hive, k, name);
    if (!v || v->type != REG_SZ)
        return QString();
    const int zero = v->text.indexOf(QChar(0));
    return zero >= 0 ? v->text.left(zero) : v->text;
}

void CRegistry::SaveRegString(Hive hive, const QString &k, const QString &name, const QString &text)
{
    if (hiveName(hive).isEmpty())
        return;
    RegValue &v = valueForWrite(hive, k, name);
    v.type = REG_SZ;
    v.text = text;
    v.bytes.clear();
    persist();
}

int32_t CRegistry::ReadRegWord(Hive hive, const QString &k, const QString &name) const
{
    const RegValue *v = value(hive, k, name);
    return v && v->type == REG_DWORD ? static_cast<int32_t>(v->word) : 0;
}

int32_t CRegistry::ReadRegWordWithDefault(Hive hive, const QString &k, const QString &name,
                                          int32_t def)
{
    if (!key(hive, k))
        return 0;
    const RegValue *v = value(hive, k, name);
    if (!v) {
        SaveRegWord(hive, k, name, def);
        return def;
    }
    return v->type == REG_DWORD ? static_cast<int32_t>(v->word) : 0;
}

void CRegistry::SaveRegWord(Hive hive, const QString &k, const QString &name, int32_t number)
{
    if (hiveName(hive).isEmpty())
        return;
    RegValue &v = valueForWrite(hive, k, name);
    v.type = REG_DWORD;
    v.word = static_cast<uint32_t>(number);
    v.text.clear();
    v.bytes.clear();
    persist();
}

void CRegistry::SaveRegBinary(Hive hive, const QString &k, const QString &name,
                              const QByteArray &data)
{
    if (hiveName(hive).isEmpty())
        return;
    RegValue &v = valueForWrite(hive, k, name);
    v.type = REG_BINARY;
    v.bytes = data;
    v.text.clear();
    persist();
}

void CRegistry::DeleteRegKey(Hive hive, const QString &k)
{
    if (key(hive, k) && !normaliseKey(k).isEmpty() && m_tree.remove(fullPath(hive, k)))
        persist();
}

void CRegistry::DeleteRegValue(Hive hive, const QString &k, const QString &name)
{
    RegKey *rk = key(hive, k) ? m_tree.find(fullPath(hive, k)) : nullptr;
    if (!rk)
        return;
    const auto before = rk->values.size();
    std::erase_if(rk->values, [&](const RegValue &v) {
        return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (rk->values.size() != before)
        persist();
}

std::optional<int32_t> CRegistry::SubKeyCount(Hive hive, const QString &k) const
{
    if (!key(hive, k))
        return std::nullopt;
    return static_cast<int32_t>(m_tree.subKeys(fullPath(hive, k)).size());
}

QString CRegistry::SubKeyName(Hive hive, const QString &k, int32_t position) const
{
    if (!key(hive, k) || position < 1)
        return QString();
    const QStringList names = m_tree.subKeys(fullPath(hive, k));
    return position <= names.size() ? names[position - 1] : QString();
}

int32_t CRegistry::SubValueCount(Hive hive, const QString &k) const
{
    const RegKey *rk = key(hive, k);
    return rk ? static_cast<int32_t>(rk->values.size()) : 0;
}

QString CRegistry::SubValueName(Hive hive, const QString &k, int32_t position) const
{
    const RegKey *rk = key(hive, k);
    if (!rk || position < 1 || position > static_cast<int32_t>(rk->values.size()))
        return QString();
    return rk->values[static_cast<size_t>(position - 1)].name;
}

QString CRegistry::SubValueType(Hive hive, const QString &k, int32_t position) const
{
    const RegKey *rk = key(hive, k);
    if (!rk || position < 1 || position > static_cast<int32_t>(rk->values.size()))
        return QString();
    switch (rk->values[static_cast<size_t>(position - 1)].type) {
    case REG_SZ: return QStringLiteral("UNI");
    case REG_BINARY: return QStringLiteral("BIN");
    case REG_DWORD: return QStringLiteral("WRD");
    default: return QString();
    }
}

}  // namespace varno
