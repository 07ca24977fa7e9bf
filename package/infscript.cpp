#include "package/infscript.h"

#include "base/codepage.h"

namespace varno {

namespace {

// Drops a comment (";" outside quotes).
QString stripComment(const QString &line)
{
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (line[i] == QLatin1Char(';') && !quoted)
            return line.left(i);
    }
    return line;
}

// Position of the "=" that separates key and value, outside quotes; -1 if none.
int keySeparator(const QString &line)
{
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (line[i] == QLatin1Char('=') && !quoted)
            return i;
    }
    return -1;
}

}  // namespace

QStringList splitInfFields(const QString &value)
{
    QStringList fields;
    QString cur;
    bool quoted = false;
    bool wasQuoted = false;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < value.size() && value[i + 1] == QLatin1Char('"')) {
                cur += c;
                ++i;
            } else {
                // Blanks before an opening quote are not part of the field.
                if (!quoted && !wasQuoted && cur.trimmed().isEmpty())
                    cur.clear();
                quoted = !quoted;
                wasQuoted = true;
            }
        } else if (c == QLatin1Char(',') && !quoted) {
            fields << (wasQuoted ? cur : cur.trimmed());
            cur.clear();
            wasQuoted = false;
        } else if (!quoted && wasQuoted && c.isSpace()) {
            // blanks after a closing quote do not belong to the field
        } else {
            cur += c;
        }
    }
    fields << (wasQuoted ? cur : cur.trimmed());
    return fields;
}

InfScript InfScript::parse(const QByteArray &text)
{
    InfScript s;
    const QString all = fromCp1252(text);
    const QStringList lines = all.split(QLatin1Char('\n'));
    InfSection *current = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = stripComment(lines[i]).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            if (close < 0) {
                s.m_problems << QStringLiteral("line %1: section name without \"]\"").arg(i + 1);
                current = nullptr;
                continue;
            }
            s.m_sections.push_back(InfSection{line.mid(1, close - 1).trimmed(), i + 1, {}, {}});
            current = &s.m_sections.back();
            const QString name = current->name.toCaseFolded();
            if (!s.m_firstOfName.contains(name))
                s.m_firstOfName.insert(name, int(s.m_sections.size()) - 1);
            continue;
        }
        if (!current) {
            s.m_problems << QStringLiteral("line %1: text outside any section").arg(i + 1);
            continue;
        }
        InfLine l;
        l.number = i + 1;
        const int eq = keySeparator(line);
        if (eq >= 0) {
            l.hasKey = true;
            l.key = line.left(eq).trimmed();
            l.fields = splitInfFields(line.mid(eq + 1));
            const QString key = l.key.toCaseFolded();
            if (!current->firstOfKey.contains(key))
                current->firstOfKey.insert(key, int(current->lines.size()));
        } else {
            l.fields = splitInfFields(line);
        }
        current->lines.push_back(l);
    }
    return s;
}

const InfSection *InfScript::section(const QString &name) const
{
    // A later section of the same name adds nothing here: the first wins.
    const auto it = m_firstOfName.constFind(name.toCaseFolded());
    return it == m_firstOfName.cend() ? nullptr : &m_sections[*it];
}

const InfSection *InfScript::sectionFor(const QString &name, const QString &cpu) const
{
    if (!cpu.isEmpty())
        if (const InfSection *s = section(name + QLatin1Char('.') + cpu))
            return s;
    return section(name);
}

const InfLine *InfScript::find(const InfSection *s, const QString &key) const
{
    if (!s)
        return nullptr;
    const auto it = s->firstOfKey.constFind(key.toCaseFolded());
    return it == s->firstOfKey.cend() ? nullptr : &s->lines[*it];
}

QString InfScript::substitute(const QString &text, qsizetype limit) const
{
    const InfSection *strings = section(QStringLiteral("Strings"));
    QString out;
    for (int i = 0; i < text.size() && (limit < 0 || out.size() <= limit); ++i) {
        if (text[i] != QLatin1Char('%')) {
            out += text[i];
            continue;
        }
        const int close = text.indexOf(QLatin1Char('%'), i + 1);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        const QString name = text.mid(i + 1, close - i - 1);
        if (name.isEmpty()) {
            out += QLatin1Char('%');
        } else if (const InfLine *l = find(strings, name)) {
            out += l->fields.join(QLatin1Char(','));
        } else {
            out += text.mid(i, close - i + 1);
        }
        i = close;
    }
    return out;
}

}  // namespace varno
