#include "app/apppaths.h"
#include "app/instancelock.h"
#include "support/sandbox.h"

#include <QProcess>
#include <QSysInfo>

using namespace varno;

using Outcome = InstanceLock::Outcome;

// A lock held and let go is the start-up tests' business (a second start
// ends silently until the first has gone). Here: a lock left by a process
// that has ended, as a crash would leave it, is taken over, in a folder made
// for it; a lock that cannot be made is not taken for a running editor.
TEST(InstanceLock, TakenOverFromTheDeadNotFromTheUnmakeable)
{
    QTemporaryDir dir;
    varno::test::writeFile(dir.filePath("blocker"), {});
    InstanceLock blocked(dir.filePath(QStringLiteral("blocker/varno.lock")));
    EXPECT_EQ(blocked.tryLock(), Outcome::Unavailable);
    EXPECT_TRUE(blocked.problem().startsWith("cannot make the lock file"));

    QProcess p;
    p.start(QStringLiteral("true"), {});
    ASSERT_TRUE(p.waitForStarted());
    const QByteArray owner = QByteArray::number(p.processId()) + "\nvarno\n" +
                             QSysInfo::machineHostName().toUtf8() + "\n";
    ASSERT_TRUE(p.waitForFinished());
    const QString file = dir.filePath(QStringLiteral("sub/varno.lock"));
    InstanceLock first(file), second(file);
    ASSERT_EQ(first.tryLock(), Outcome::Taken);
    first.unlock();
    varno::test::writeFile(file, owner);
    EXPECT_EQ(second.tryLock(), Outcome::Taken);
}

// The user's own folders are visible ones in their documents; VARNO_HOME
// keeps everything in one folder.
TEST(AppPaths, DefaultFoldersAreInTheDocumentsUnlessVarnoHomeIsSet)
{
    const varno::test::Sandbox box;
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldVarno = qgetenv("VARNO_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("VARNO_HOME");
    const AppPaths editor = AppPaths::forEditor();
    qputenv("HOME", oldHome);
    qputenv("VARNO_HOME", oldVarno);
    const QString documents = home.path() + "/Documents/Varno Themes";
    EXPECT_EQ(editor.defaultFolder("tsk"), documents + "/");
    EXPECT_EQ(editor.defaultFolder("images"), documents + "/Pictures/");
    EXPECT_EQ(editor.defaultFolder("capture"), documents + "/Captures/");
    EXPECT_FALSE(editor.tmpFolder.startsWith(documents));
    const AppPaths boxed = AppPaths::forEditor();
    EXPECT_EQ(boxed.defaultFolder("tsk"), boxed.appFolder + "/tsk/");
}
