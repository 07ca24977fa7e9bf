// An interrupted command leaves no scratch folder behind.
#include "base/signalcleanup.h"
#include "support/sandbox.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace varno;

TEST(SignalCleanup, ATerminatedProcessRemovesItsScratchFoldersAndEndsAsTheSignalSays)
{
    QTemporaryDir parent;
    const QString scratch = parent.filePath("varno-scratch"), forgotten = parent.filePath("kept");
    ASSERT_TRUE(QDir().mkpath(forgotten));
    ASSERT_TRUE(QDir().mkpath(scratch + "/tmp/theme-x"));
    varno::test::writeFile(scratch + "/tmp/theme-x/tdywater.001", "");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        installSignalCleanup();
        removeOnSignal(scratch);
        removeOnSignal(forgotten);
        forgetOnSignal(forgotten);
        ::raise(SIGTERM);
        ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    EXPECT_FALSE(QFileInfo::exists(scratch));
    EXPECT_TRUE(QFileInfo::exists(forgotten));
}
