// What the headless commands share: their options and the usage error
// that ends a command with exit code 2.
#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace varno {

// Thrown by a command for a usage fault; the text follows "varno NAME: ".
struct UsageError {
    QString text;
};

// Options of the form "--name value"; flags without a value.
class Args {
public:
    // `args` starts with the command name; `flags` take no value.
    Args(const QStringList &args, const QStringList &flags) : m_rest(args.mid(1))
    {
        for (int i = 0; i < m_rest.size();) {
            const QString a = m_rest[i];
            // "/err" and "/cpu" as the device SDK's wizard spells them.
            const bool isOption = (a.startsWith(QLatin1String("--")) && a.size() > 2) ||
                                  a == QLatin1String("-o") || a == QLatin1String("-d") ||
                                  a == QLatin1String("-s") ||
                                  a.compare(QLatin1String("/err"), Qt::CaseInsensitive) == 0 ||
                                  a.compare(QLatin1String("/cpu"), Qt::CaseInsensitive) == 0;
            if (!isOption) {
                m_positional << a;
                ++i;
                continue;
            }
            QString name = a;
            while (name.startsWith(QLatin1Char('-')) || name.startsWith(QLatin1Char('/')))
                name.remove(0, 1);
            name = name.toLower();
            if (flags.contains(name)) {
                m_values.insert({name, QString()});
                ++i;
                continue;
            }
            if (i + 1 >= m_rest.size())
                throw UsageError{QStringLiteral("%1 needs a value").arg(a)};
            m_values.insert({name, m_rest[i + 1]});
            i += 2;
        }
    }
    bool has(const QString &name) const { return m_values.count(name) > 0; }
    QString value(const QString &name) const
    {
        const auto it = m_values.find(name);
        return it == m_values.end() ? QString() : it->second;
    }
    QStringList values(const QString &name) const
    {
        QStringList out;
        const auto [from, to] = m_values.equal_range(name);
        for (auto it = from; it != to; ++it)
            out << it->second;
        return out;
    }
    QString required(const QString &name) const
    {
        if (!has(name) || value(name).isEmpty())
            throw UsageError{QStringLiteral("--%1 is required").arg(name)};
        return value(name);
    }
    const QStringList &positional() const { return m_positional; }
    void allowOnly(const QStringList &names) const
    {
        for (const auto &[name, v] : m_values)
            if (!names.contains(name))
                throw UsageError{QStringLiteral("unknown option %1").arg(name)};
    }

private:
    QStringList m_rest;
    QStringList m_positional;
    std::multimap<QString, QString> m_values;
};

}  // namespace varno
