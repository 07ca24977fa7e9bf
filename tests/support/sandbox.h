// A private VARNO_HOME in a temporary folder for the lifetime of a test, so
// settings and working folders never touch the user's own; and whole-file
// helpers.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Readable gtest output for Qt values.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"' << b.toPercentEncoding(" !#$&'()*+,/:;=?@[]{}<>|^~`\"\\").toStdString() << '"';
}

namespace varno::test {

class Sandbox {
public:
    Sandbox()
    {
        EXPECT_TRUE(m_dir.isValid());
        if (qEnvironmentVariableIsSet("VARNO_HOME"))
            m_previous = qgetenv("VARNO_HOME");
        qputenv("VARNO_HOME", m_dir.path().toLocal8Bit());
    }
    ~Sandbox()
    {
        if (m_previous)
            qputenv("VARNO_HOME", *m_previous);
        else
            qunsetenv("VARNO_HOME");
    }

    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previous;
};

// Path of a committed fixture under tests/data.
inline QString dataFile(const QString &relative)
{
    return QDir(QStringLiteral(VARNO_TEST_DATA)).filePath(relative);
}

// A file that cannot be read reads as empty.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

}  // namespace varno::test
