#include "app/settingsfile.h"

#include "base/regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcApp, "varno.app")

namespace varno {

namespace {

// The registry treats "a\\b", "a\b" and "\a\b\" alike.
QString normaliseKey(const QString &key)
{
    QStringList parts;
    for (const QString &p : key.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        parts << p;
    return parts.join(QLatin1Char('\\'));
}

}  // namespace

SettingsFile::SettingsFile(QString filePath) : m_path(std::move(filePath))
{
    load();
}

namespace {

// Settings take a few KiB; anything near this is not a settings file.
constexpr qint64 MaxSettingsBytes = 4 << 20;

QString asideName(const QString &path)
{
    const QString stamp = path + QStringLiteral(".broken-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stamp + QLatin1Char('-') + QString::number(n);
    return aside;
}

QString whyUnusable(const FileContents &file)
{
    switch (file.problem) {
    case FileProblem::Folder: return QStringLiteral("it is a folder");
    case FileProblem::NotRegular: return QStringLiteral("it is not a regular file");
    case FileProblem::TooLarge: return QStringLiteral("it is larger than 4 MiB");
    default: return file.reason;
    }
}

}  // namespace

void SettingsFile::load()
{
    const QString shown = QDir::toNativeSeparators(m_path);
    const FileContents file = readRegularFile(m_path, MaxSettingsBytes);
    if (file.problem == FileProblem::Missing)
        return;
    if (file.problem != FileProblem::None) {
        // Keep the user's file: move it aside and start from the defaults.
        const QString aside = asideName(m_path);
        if (QFile::rename(m_path, aside)) {
            m_problem = QStringLiteral("The settings file %1 could not be read (%2). It has been "
                                       "kept as %3, and Varno starts with its default settings.")
                            .arg(shown, whyUnusable(file), QDir::toNativeSeparators(aside));
        } else {
            m_writable = false;
            m_problem = QStringLiteral("The settings file %1 could not be read (%2). Varno starts "
                                       "with its default settings and will not change that file.")
                            .arg(shown, whyUnusable(file));
        }
        qCWarning(lcApp) << m_problem;
        return;
    }
    SettingsTree::Parsed parsed = SettingsTree::parse(file.data);
    m_tree = std::move(parsed.tree);
    if (parsed.dropped.isEmpty())
        return;
    // Every value that reads is kept; the file as it was is kept beside it
    // before the rest is written back.
    constexpr int Listed = 8;
    QString lines = parsed.dropped.mid(0, Listed).join(QStringLiteral("; "));
    if (parsed.dropped.size() > Listed)
        lines += QStringLiteral("; and %1 more").arg(parsed.dropped.size() - Listed);
    const QString copy = asideName(m_path);
    if (!QFile::copy(m_path, copy)) {
        m_writable = false;
        m_problem = QStringLiteral("Some lines of the settings file %1 could not be read and were "
                                   "left out (%2). Varno will not change that file.")
                        .arg(shown, lines);
    } else {
        m_problem = QStringLiteral("Some lines of the settings file %1 could not be read and were "
                                   "left out (%2). The file as it was is kept as %3.")
                        .arg(shown, lines, QDir::toNativeSeparators(copy));
        persist();
    }
    qCWarning(lcApp) << m_problem;
}

void SettingsFile::persist()
{
    if (!m_writable)
        return;
    m_pending = m_batches > 0;
    if (m_pending)
        return;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    const QByteArray data = m_tree.serialize();
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        // Stored settings are never worth an error box; log it once.
        if (!m_lastWriteFailed)
            qCWarning(lcApp) << "cannot write settings to" << m_path << f.errorString();
        m_lastWriteFailed = true;
        m_writeProblem = f.errorString();
        return;
    }
    m_lastWriteFailed = false;
    m_writeProblem.clear();
}

const SettingsSection *SettingsFile::section(const QString &path) const
{
    return m_tree.find(normaliseKey(path));
}

const SettingsValue *SettingsFile::value(const QString &k, const QString &name) const
{
    const SettingsSection *rk = section(k);
    return rk ? SettingsTree::findValue(*rk, name) : nullptr;
}

SettingsValue &SettingsFile::valueForWrite(const QString &k, const QString &name)
{
    SettingsSection &rk = m_tree.create(normaliseKey(k));
    if (SettingsValue *v = SettingsTree::findValue(rk, name))
        return *v;
    SettingsValue v;
    v.name = name;
    rk.values.push_back(v);
    return rk.values.back();
}

bool SettingsFile::createSection(const QString &k)
{
    if (!section(k)) {
        m_tree.create(normaliseKey(k));
        persist();
    }
    return m_writable;
}

QString SettingsFile::readStringOrStore(const QString &k, const QString &name, const QString &def)
{
    const SettingsValue *v = value(k, name);
    if (!v || v->type != REG_SZ) {
        writeString(k, name, def);
        return def;
    }
    const int zero = v->text.indexOf(QChar(0));
    if (zero >= 0)
        return v->text.left(zero);
    return v->text.isEmpty() ? def : v->text;
}

QString SettingsFile::readString(const QString &k, const QString &name) const
{
    const SettingsValue *v = value(k, name);
    if (!v || v->type != REG_SZ)
        return QString();
    const int zero = v->text.indexOf(QChar(0));
    return zero >= 0 ? v->text.left(zero) : v->text;
}

void SettingsFile::writeString(const QString &k, const QString &name, const QString &text)
{
    SettingsValue &v = valueForWrite(k, name);
    v.type = REG_SZ;
    v.text = text;
    v.bytes.clear();
    persist();
}

int32_t SettingsFile::readWord(const QString &k, const QString &name) const
{
    const SettingsValue *v = value(k, name);
    return v && v->type == REG_DWORD ? static_cast<int32_t>(v->word) : 0;
}

int32_t SettingsFile::readWordOrStore(const QString &k, const QString &name, int32_t def)
{
    if (!section(k))
        return 0;
    const SettingsValue *v = value(k, name);
    if (!v) {
        writeWord(k, name, def);
        return def;
    }
    return v->type == REG_DWORD ? static_cast<int32_t>(v->word) : 0;
}

void SettingsFile::writeWord(const QString &k, const QString &name, int32_t number)
{
    SettingsValue &v = valueForWrite(k, name);
    v.type = REG_DWORD;
    v.word = static_cast<uint32_t>(number);
    v.text.clear();
    v.bytes.clear();
    persist();
}

void SettingsFile::writeBinary(const QString &k, const QString &name, const QByteArray &data)
{
    SettingsValue &v = valueForWrite(k, name);
    v.type = REG_BINARY;
    v.bytes = data;
    v.text.clear();
    persist();
}

void SettingsFile::removeSection(const QString &k)
{
    if (section(k) && !normaliseKey(k).isEmpty() && m_tree.remove(normaliseKey(k)))
        persist();
}

void SettingsFile::removeValue(const QString &k, const QString &name)
{
    SettingsSection *rk = section(k) ? m_tree.find(normaliseKey(k)) : nullptr;
    if (!rk)
        return;
    const auto before = rk->values.size();
    std::erase_if(rk->values, [&](const SettingsValue &v) {
        return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (rk->values.size() != before)
        persist();
}

std::optional<int32_t> SettingsFile::subsectionCount(const QString &k) const
{
    if (!section(k))
        return std::nullopt;
    return static_cast<int32_t>(m_tree.subsections(normaliseKey(k)).size());
}

QString SettingsFile::subsectionName(const QString &k, int32_t position) const
{
    if (!section(k) || position < 1)
        return QString();
    const QStringList names = m_tree.subsections(normaliseKey(k));
    return position <= names.size() ? names[position - 1] : QString();
}

int32_t SettingsFile::valueCount(const QString &k) const
{
    const SettingsSection *rk = section(k);
    return rk ? static_cast<int32_t>(rk->values.size()) : 0;
}

QString SettingsFile::valueName(const QString &k, int32_t position) const
{
    const SettingsSection *rk = section(k);
    if (!rk || position < 1 || position > static_cast<int32_t>(rk->values.size()))
        return QString();
    return rk->values[static_cast<size_t>(position - 1)].name;
}

QString SettingsFile::valueType(const QString &k, int32_t position) const
{
    const SettingsSection *rk = section(k);
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
