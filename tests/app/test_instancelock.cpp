#include "app/instancelock.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/varno.lock"));
    InstanceLock first(file);
    ASSERT_TRUE(first.tryLock());
    InstanceLock second(file);
    EXPECT_FALSE(second.tryLock());
    first.unlock();
    EXPECT_TRUE(second.tryLock());
}

TEST(InstanceLock, ALockLeftByADeadProcessIsTakenOver)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("varno.lock"));
    // A process that has ended leaves its id behind, as a crash would.
    QProcess p;
    p.start(QStringLiteral("true"), {});
    ASSERT_TRUE(p.waitForStarted());
    const qint64 deadPid = p.processId();
    ASSERT_TRUE(p.waitForFinished());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(deadPid) + "\nvarno\n" + QSysInfo::machineHostName().toUtf8() +
            "\n");
    f.close();
    InstanceLock lock(file);
    EXPECT_TRUE(lock.tryLock());
}
