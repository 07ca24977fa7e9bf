// A settings file that is partly damaged, or is not a file at all: every
// value that reads survives, and nothing blocks the start.
#include "app/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace varno;

namespace {

class SettingsRecovery : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("settings.reg")); }
    void writeFile(const QByteArray &bytes)
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList aside() const
    {
        // A FIFO set aside lists only among "system" entries.
        return QDir(dir.path())
            .entryList({QStringLiteral("settings.reg.broken-*")}, QDir::AllEntries | QDir::System);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(SettingsRecovery, ABadLineCostsOnlyItself)
{
    const QByteArray original =
        "Varno Settings 1\n[Settings]\n\"Name1\"=\"Ann\"\n"
        "\"Name2\"=dword:nothex\n\"Name3\"=\"Cy\"\n[Settings\n\"X\"=\"y\"\n";
    writeFile(original);
    SettingsFile reg(file());
    EXPECT_EQ(reg.readString("Settings", "Name1"), QStringLiteral("Ann"));
    EXPECT_EQ(reg.readString("Settings", "Name3"), QStringLiteral("Cy"));
    ASSERT_EQ(aside().size(), 1);
    EXPECT_EQ(reg.loadProblem(),
              QStringLiteral("Some lines of the settings file %1 could not be read and were left "
                             "out (line 4: this value cannot be read; line 6: a section name is "
                             "not closed by \"]\"; line 7: a value stands outside any section). "
                             "The file as it was is kept as %2.")
                  .arg(QDir::toNativeSeparators(file()),
                       QDir::toNativeSeparators(dir.filePath(aside()[0]))));
    QFile kept(dir.filePath(aside()[0]));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), original);
    // What was written back reads cleanly.
    SettingsFile again(file());
    EXPECT_EQ(again.loadProblem(), QString());
    EXPECT_EQ(again.readString("Settings", "Name3"), QStringLiteral("Cy"));
}

TEST_F(SettingsRecovery, AByteOrderMarkIsAccepted)
{
    writeFile("\xEF\xBB\xBFVarno Settings 1\r\n[Settings]\r\n\"Name1\"=\"\xC3\xA9\"\r\n");
    SettingsFile reg(file());
    EXPECT_EQ(reg.loadProblem(), QString());
    EXPECT_EQ(reg.readString("Settings", "Name1"), QStringLiteral("\u00e9"));
}

TEST_F(SettingsRecovery, WhatIsNoSettingsFileIsSetAside)
{
    const struct {
        const char *name;
        std::function<void(const QString &)> make;
        const char *why;
    } cases[] = {
        {"fifo",
         [](const QString &p) { ASSERT_EQ(mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         "it is not a regular file"},
        {"huge",
         [](const QString &p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(5 << 20));
         },
         "it is larger than 4 MiB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        c.make(file());
        SettingsFile reg(file());
        EXPECT_TRUE(reg.loadProblem().contains(QLatin1String(c.why)))
            << reg.loadProblem().toStdString();
        EXPECT_EQ(aside().size(), 1);
        reg.writeString("Settings", "TTYPE", "STD");
        EXPECT_EQ(SettingsFile(file()).readString("Settings", "TTYPE"), QStringLiteral("STD"));
    }
}
