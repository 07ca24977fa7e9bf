#include "app/settingstree.h"

#include <QHash>

namespace varno {

namespace {

const char kHeader[] = "Varno Settings 1";

QString parentOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? QString() : path.left(slash);
}

// Files written by earlier builds named their sections like registry keys
// ("HKEY_LOCAL_MACHINE\SOFTWARE\VARNO\Settings"); they read as "Settings".
QString sectionName(const QString &header)
{
    static const QString legacyRoot = QStringLiteral("\\SOFTWARE\\VARNO\\");
    if (!header.startsWith(QLatin1String("HKEY_"), Qt::CaseInsensitive))
        return header;
    const qsizetype at = header.indexOf(legacyRoot, 0, Qt::CaseInsensitive);
    const QString rest = at < 0 ? QString() : header.mid(at + legacyRoot.size());
    return rest.trimmed().isEmpty() ? header : rest;
}

QString escapeText(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case 0: out += QStringLiteral("\\0"); break;
        default: out += c;
        }
    }
    return out;
}

// Reads a quoted string starting at s[pos] == '"'; leaves pos after the
// closing quote.
std::optional<QString> readQuoted(const QString &s, int &pos)
{
    if (pos >= s.size() || s[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++pos >= s.size())
            return std::nullopt;
        switch (s[pos].unicode()) {
        case '\\': out += QLatin1Char('\\'); break;
        case '"': out += QLatin1Char('"'); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case '0': out += QChar(0); break;
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

QString hexBytes(const QByteArray &b)
{
    QStringList parts;
    for (const char c : b)
        parts << QStringLiteral("%1").arg(static_cast<uint8_t>(c), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char(','));
}

std::optional<QByteArray> parseHexBytes(const QString &s)
{
    QByteArray out;
    if (s.trimmed().isEmpty())
        return out;
    for (const QString &part : s.split(QLatin1Char(','))) {
        bool ok = false;
        const QString t = part.trimmed();
        const uint v = t.toUInt(&ok, 16);
        if (!ok || t.size() > 2)
            return std::nullopt;
        out.append(static_cast<char>(v));
    }
    return out;
}

bool parseValue(const QString &line, SettingsValue &v)
{
    int pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else {
        const std::optional<QString> name = readQuoted(line, pos);
        if (!name)
            return false;
        v.name = *name;
    }
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return false;
    ++pos;
    const QString rest = line.mid(pos);
    if (rest.startsWith(QLatin1Char('"'))) {
        int p = 0;
        const std::optional<QString> text = readQuoted(rest, p);
        if (!text || !rest.mid(p).trimmed().isEmpty())
            return false;
        v.type = REG_SZ;
        v.text = *text;
        return true;
    }
    if (rest.startsWith(QLatin1String("dword:"))) {
        const QString digits = rest.mid(6).trimmed();
        bool ok = false;
        v.word = digits.toUInt(&ok, 16);
        v.type = REG_DWORD;
        return ok && digits.size() <= 8;
    }
    if (rest.startsWith(QLatin1String("hex:"))) {
        v.type = REG_BINARY;
        const auto b = parseHexBytes(rest.mid(4));
        v.bytes = b.value_or(QByteArray());
        return b.has_value();
    }
    if (rest.startsWith(QLatin1String("hex("))) {
        const int close = rest.indexOf(QLatin1String("):"));
        bool ok = false;
        v.type = close > 4 ? rest.mid(4, close - 4).toUInt(&ok, 16) : 0;
        if (!ok || v.type == REG_SZ || v.type == REG_DWORD)
            return false;
        const auto b = parseHexBytes(rest.mid(close + 2));
        v.bytes = b.value_or(QByteArray());
        return b.has_value();
    }
    return false;
}

}  // namespace

SettingsSection *SettingsTree::find(const QString &path)
{
    const auto it = m_index.find(fold(path));
    return it == m_index.end() ? nullptr : &m_sections[it->second];
}

const SettingsSection *SettingsTree::find(const QString &path) const
{
    const auto it = m_index.find(fold(path));
    return it == m_index.end() ? nullptr : &m_sections[it->second];
}

SettingsSection &SettingsTree::create(const QString &path)
{
    if (SettingsSection *k = find(path))
        return *k;
    const QString parent = parentOf(path);
    if (!parent.isEmpty())
        create(parent);
    m_index[fold(path)] = m_sections.size();
    m_sections.push_back(SettingsSection{path, {}});
    return m_sections.back();
}

bool SettingsTree::remove(const QString &path)
{
    const auto it = m_index.find(fold(path));
    if (it == m_index.end() || !subsections(path).isEmpty())
        return false;
    m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(it->second));
    m_index.clear();
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_index[fold(m_sections[i].path)] = i;
    return true;
}

QStringList SettingsTree::subsections(const QString &path) const
{
    QStringList out;
    const QString prefix = fold(path) + QLatin1Char('\\');
    for (const SettingsSection &k : m_sections) {
        const QString f = fold(k.path);
        if (f.startsWith(prefix) && !f.mid(prefix.size()).contains(QLatin1Char('\\')))
            out << k.path.mid(prefix.size());
    }
    return out;
}

SettingsValue *SettingsTree::findValue(SettingsSection &key, const QString &name)
{
    for (SettingsValue &v : key.values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

const SettingsValue *SettingsTree::findValue(const SettingsSection &key, const QString &name)
{
    for (const SettingsValue &v : key.values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

QByteArray SettingsTree::serialize() const
{
    QString out = QLatin1String(kHeader) + QLatin1Char('\n');
    for (const SettingsSection &k : m_sections) {
        out += QStringLiteral("\n[") + k.path + QStringLiteral("]\n");
        for (const SettingsValue &v : k.values) {
            out += v.name.isEmpty() ? QStringLiteral("@=")
                                    : QLatin1Char('"') + escapeText(v.name) + QStringLiteral("\"=");
            switch (v.type) {
            case REG_SZ: out += QLatin1Char('"') + escapeText(v.text) + QLatin1Char('"'); break;
            case REG_DWORD:
                out += QStringLiteral("dword:%1").arg(v.word, 8, 16, QLatin1Char('0'));
                break;
            case REG_BINARY: out += QStringLiteral("hex:") + hexBytes(v.bytes); break;
            default: out += QStringLiteral("hex(%1):").arg(v.type, 0, 16) + hexBytes(v.bytes);
            }
            out += QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

SettingsTree::Parsed SettingsTree::parse(const QByteArray &text)
{
    Parsed out;
    const auto drop = [&](qsizetype lineNo, const QString &why) {
        out.dropped << QStringLiteral("line %1: %2").arg(lineNo).arg(why);
    };
    QByteArrayView bytes(text);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    SettingsSection *current = nullptr;
    // Value names already in the current section, folded, to their place:
    // a file of many values must not be searched value by value.
    QHash<QString, size_t> names;
    bool headerSeen = false;
    qsizetype lineNo = 0;
    for (qsizetype from = 0; from <= bytes.size();) {
        qsizetype to = bytes.indexOf('\n', from);
        if (to < 0)
            to = bytes.size();
        const QByteArrayView raw = bytes.sliced(from, to - from);
        from = to + 1;
        ++lineNo;
        const QString line = QString::fromUtf8(raw);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
            continue;
        if (line.toUtf8() != raw) {
            drop(lineNo, QStringLiteral("it is not UTF-8 text"));
            continue;
        }
        if (!headerSeen && t == QLatin1String(kHeader)) {
            headerSeen = true;
            continue;
        }
        if (t.startsWith(QLatin1Char('['))) {
            if (!t.endsWith(QLatin1Char(']')) || t.size() < 3) {
                drop(lineNo, QStringLiteral("a section name is not closed by \"]\""));
                current = nullptr;
                continue;
            }
            current = &out.tree.create(sectionName(t.mid(1, t.size() - 2)));
            names.clear();
            for (size_t i = 0; i < current->values.size(); ++i)
                names.insert(current->values[i].name.toCaseFolded(), i);
            continue;
        }
        if (!current) {
            drop(lineNo, QStringLiteral("a value stands outside any section"));
            continue;
        }
        SettingsValue v;
        if (!parseValue(t, v)) {
            drop(lineNo, QStringLiteral("this value cannot be read"));
            continue;
        }
        const QString folded = v.name.toCaseFolded();
        const auto known = names.constFind(folded);
        if (known != names.constEnd()) {
            current->values[*known] = v;
        } else {
            names.insert(folded, current->values.size());
            current->values.push_back(v);
        }
    }
    return out;
}

}  // namespace varno
