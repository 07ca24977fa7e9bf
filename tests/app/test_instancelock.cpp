#include "app/instancelock.h"
#include "support/sandbox.h"

#include <QProcess>
#include <QSysInfo>

using namespace varno;

// A second holder is refused until the first lets go; a lock left by a
// process that has ended, as a crash would leave it, is taken over.
TEST(InstanceLock, RefusedWhileHeldTakenOverFromTheDead)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/varno.lock"));
    InstanceLock first(file), second(file);
    ASSERT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    first.unlock();
    ASSERT_TRUE(second.tryLock());
    second.unlock();

    QProcess p;
    p.start(QStringLiteral("true"), {});
    ASSERT_TRUE(p.waitForStarted());
    const QByteArray owner = QByteArray::number(p.processId()) + "\nvarno\n" +
                             QSysInfo::machineHostName().toUtf8() + "\n";
    ASSERT_TRUE(p.waitForFinished());
    varno::test::writeFile(file, owner);
    EXPECT_TRUE(first.tryLock());
}
