#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace varno::test {

Sandbox::Sandbox() : m_hadPrevious(qEnvironmentVariableIsSet("VARNO_HOME"))
{
    EXPECT_TRUE(m_dir.isValid());
    m_previous = qgetenv("VARNO_HOME");
    qputenv("VARNO_HOME", m_dir.path().toLocal8Bit());
}

Sandbox::~Sandbox()
{
    if (m_hadPrevious)
        qputenv("VARNO_HOME", m_previous);
    else
        qunsetenv("VARNO_HOME");
}

QString dataFile(const QString &relative)
{
    return QDir(QStringLiteral(VARNO_TEST_DATA)).filePath(relative);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

}  // namespace varno::test
