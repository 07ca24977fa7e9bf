// A private VARNO_HOME in a temporary folder for the lifetime of a test, so
// settings and working folders never touch the user's own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/printers.h"

namespace varno::test {

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

// Path of a committed fixture under tests/data.
QString dataFile(const QString &relative);

// Whole-file helpers; a file that cannot be read reads as empty.
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

}  // namespace varno::test
