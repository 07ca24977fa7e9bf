// A settings file that is partly damaged, or is not a file at all: every
// value that reads survives, and nothing blocks the start.
#include "app/settingsfile.h"
#include "support/sandbox.h"

#include <sys/stat.h>

using namespace varno;
using varno::test::readFile;
using varno::test::writeFile;

namespace {

class SettingsRecovery : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("settings.reg")); }
    QStringList aside() const
    {
        // A FIFO set aside lists only among "system" entries.
        return QDir(dir.path())
            .entryList({QStringLiteral("settings.reg.broken-*")}, QDir::AllEntries | QDir::System);
    }
    QTemporaryDir dir;
};

}  // namespace

// Every way a line can fail to read costs only that line, reported by its
// number; what a hand edit brings (byte order mark, comment, CR LF, the
// default value, a type we do not know) reads as written.
TEST_F(SettingsRecovery, ABadLineCostsOnlyItself)
{
    const QByteArray original =
        "\xEF\xBB\xBF; my settings\r\nVarno Settings 1\r\n[Settings]\r\n\"Name1\"=\"\xC3\xA9\"\r\n"
        "@=\"default\"\n\"Other\"=hex(7):41,00\n\"Name2\"=dword:nothex\n[Settings\n\"X\"=\"y\"\n"
        "[Settings]\n\"A\"=dword:123456789\n\"B\"=\"bad escape \\q\"\n\"C\"=\"unterminated\n"
        "\"D\"=\"\xff\xfe\"\n";
    writeFile(file(), original);
    SettingsFile reg(file());
    EXPECT_EQ(reg.readString("Settings", "Name1"), QStringLiteral("\u00e9"));
    EXPECT_EQ(reg.readString("Settings", ""), QStringLiteral("default"));
    ASSERT_EQ(aside().size(), 1);
    EXPECT_EQ(reg.loadProblem(),
              QStringLiteral("Some lines of the settings file %1 could not be read and were left "
                             "out (line 7: this value cannot be read; line 8: a section name is "
                             "not closed by \"]\"; line 9: a value stands outside any section; "
                             "line 11: this value cannot be read; line 12: this value cannot be "
                             "read; line 13: this value cannot be read; line 14: it is not UTF-8 "
                             "text). The file as it was is kept as %2.")
                  .arg(QDir::toNativeSeparators(file()),
                       QDir::toNativeSeparators(dir.filePath(aside()[0]))));
    EXPECT_EQ(readFile(dir.filePath(aside()[0])), original);
    // What was written back reads cleanly and keeps the unknown type.
    EXPECT_EQ(SettingsFile(file()).loadProblem(), QString());
    EXPECT_TRUE(readFile(file()).contains("\"Other\"=hex(7):41,00\n"));
}

// A FIFO, then a file too large, in one second: both are kept aside.
TEST_F(SettingsRecovery, WhatIsNoSettingsFileIsSetAside)
{
    const char *why[] = {"it is not a regular file", "it is larger than 4 MiB"};
    ASSERT_EQ(mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(why[i]);
        SettingsFile reg(file());
        EXPECT_TRUE(reg.loadProblem().contains(QLatin1String(why[i])))
            << reg.loadProblem().toStdString();
        EXPECT_EQ(aside().size(), i + 1);
        reg.writeString("Settings", "TTYPE", "STD");
        EXPECT_EQ(SettingsFile(file()).readString("Settings", "TTYPE"), QStringLiteral("STD"));
        ASSERT_TRUE(QFile::resize(file(), 5 << 20));
    }
}
