// Reading an installation script the way the device's cabinet wizard does:
// sections, "key = value" lines and comma-separated fields with quotes,
// "%name%" substitution from [Strings].
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace varno {

struct InfLine {
    int number = 0;  // 1-based line in the script
    QString key;     // before "=", trimmed; empty for plain lines
    bool hasKey = false;
    QStringList fields;  // the value (or whole line) split at commas, unquoted, trimmed
};

struct InfSection {
    QString name;
    int number = 0;  // line of the section header
    std::vector<InfLine> lines;
    // Case-folded key -> index in `lines` of the first line with that key.
    QHash<QString, int> firstOfKey;
};

class InfScript {
public:
    // Parses 8-bit script text; never fails (unknown lines are kept as
    // fields). Problems found here are collected in problems().
    static InfScript parse(const QByteArray &text);

    // Section by name, without regard to case; nullptr when absent.
    const InfSection *section(const QString &name) const;
    // "name.cpu" when present, else "name".
    const InfSection *sectionFor(const QString &name, const QString &cpu) const;
    // The fields of the first "key = ..." line of a section; empty if none.
    const InfLine *find(const InfSection *s, const QString &key) const;
    // Replaces %name% by its [Strings] value; "%%" becomes "%"; unknown
    // names (the device folders %CE2% ...) stay as they are. With a `limit`,
    // stops soon after the result grows longer than `limit` characters.
    QString substitute(const QString &text, qsizetype limit = -1) const;

    const QStringList &problems() const { return m_problems; }

private:
    std::vector<InfSection> m_sections;
    // Case-folded name -> index of the first section of that name: scripts
    // may hold tens of thousands of sections and names to look up.
    QHash<QString, int> m_firstOfName;
    QStringList m_problems;
};

// Splits a value at commas outside quotes; each field trimmed and unquoted
// ("" inside quotes is one quote).
QStringList splitInfFields(const QString &value);

}  // namespace varno
