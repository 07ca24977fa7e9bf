// Runs a command in process as the program runs it, from a scratch working
// folder with a private VARNO_HOME.
#pragma once

#include "cli/commands.h"
#include "support/sandbox.h"

struct Outcome {
    int code;
    QString out, err;
};

inline Outcome run(const QStringList &args)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = varno::runCommand(args, out, err);
    return r;
}

// Builds theme `file`, failing the test when that fails.
inline void build(const QString &file, const QString &profile, const QStringList &extra = {})
{
    const Outcome b = run(QStringList{"build", "-o", file, "--profile", profile} + extra);
    ASSERT_EQ(b.code, varno::Exit::Ok) << b.err.toStdString();
}

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override { QDir::setCurrent(work.path()); }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }
    varno::test::Sandbox box;
    QTemporaryDir work;
};
