#include "app/settingsfile.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::readFile;
using varno::test::writeFile;

namespace {

const QString Key = QStringLiteral("Settings");

class SettingsFileTest : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("settings.reg")); }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(SettingsFileTest, StringWithDefaultByStoredType)
{
    const struct {
        const char *name;
        QByteArray line;      // the value as stored in the file
        QString result;       // what the read returns
        QString storedAfter;  // ReadRegString afterwards
        QString typeAfter;
    } cases[] = {
        {"wrong type: double word is replaced", "\"V\"=dword:00000005", "dflt", "dflt", "UNI"},
        {"empty text gives the default, not written", "\"V\"=\"\"", "dflt", "", "UNI"},
        {"text up to the first zero", "\"V\"=\"ab\\0cd\"", "ab", "ab", "UNI"},
        {"a zero first gives empty text", "\"V\"=\"\\0x\"", "", "", "UNI"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file(), "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VARNO\\Settings]\n" +
                              c.line + "\n");
        SettingsFile reg(file());
        EXPECT_EQ(reg.loadProblem(), QString());
        EXPECT_EQ(reg.readStringOrStore(Key, "V", "dflt"), c.result);
        EXPECT_EQ(reg.readString(Key, "V"), c.storedAfter);
        EXPECT_EQ(reg.valueType(Key, 1), c.typeAfter);
    }
}

TEST_F(SettingsFileTest, WordWithDefault)
{
    SettingsFile reg(file());
    // No key yet: nothing is stored and the answer is 0, not the default.
    EXPECT_EQ(reg.readWordOrStore(Key, "wm5colors", 7), 0);
    EXPECT_EQ(reg.subsectionCount(Key), std::nullopt);

    ASSERT_TRUE(reg.createSection(Key));
    EXPECT_EQ(reg.readWordOrStore(Key, "wm5colors", 7), 7);
    EXPECT_EQ(reg.readWord(Key, "wm5colors"), 7);

    reg.writeWord(Key, "wm5colors", -1);
    EXPECT_EQ(reg.readWordOrStore(Key, "wm5colors", 7), -1);

    // A string where a word belongs reads as 0 and is left alone.
    reg.writeString(Key, "wm5colors", "yes");
    EXPECT_EQ(reg.readWordOrStore(Key, "wm5colors", 7), 0);
    EXPECT_EQ(reg.readString(Key, "wm5colors"), QStringLiteral("yes"));
    EXPECT_EQ(reg.readWord(Key, "wm5colors"), 0);
}

TEST_F(SettingsFileTest, TypesAndTextSurviveTheFile)
{
    const QString tricky = QStringLiteral("a \"quoted\" C:\\path\\ line\nbreak\ttab \u00e9\u4e2d");
    {
        SettingsFile reg(file());
        reg.writeString(Key, "Text", tricky);
        reg.writeWord(Key, "Word", static_cast<int32_t>(0x80000001u));
        reg.writeBinary(Key, "Bin", QByteArray("\x00\x01\xff", 3));
        reg.writeString("Settings\\Window", "x", "y");
    }
    SettingsFile reg(file());
    EXPECT_EQ(reg.loadProblem(), QString());
    EXPECT_EQ(reg.readString(Key, "text"), tricky);  // names ignore case
    EXPECT_EQ(reg.readWord(Key, "Word"), static_cast<int32_t>(0x80000001u));
    EXPECT_EQ(reg.valueCount(Key), 3);
    EXPECT_EQ(reg.valueName(Key, 3), QStringLiteral("Bin"));
    EXPECT_EQ(reg.valueType(Key, 1), QStringLiteral("UNI"));
    EXPECT_EQ(reg.valueType(Key, 2), QStringLiteral("WRD"));
    EXPECT_EQ(reg.valueType(Key, 3), QStringLiteral("BIN"));
    EXPECT_EQ(reg.valueType(Key, 4), QString());
    EXPECT_EQ(reg.subsectionCount("settings"), 1);
    EXPECT_EQ(reg.subsectionName("Settings", 1), QStringLiteral("Window"));
    EXPECT_EQ(reg.subsectionName("Settings", 0), QString());
    EXPECT_EQ(reg.subsectionName("Settings", 2), QString());
    EXPECT_TRUE(readFile(file()).startsWith("Varno Settings 1\n"));
}

TEST_F(SettingsFileTest, DeletingKeysAndValues)
{
    SettingsFile reg(file());
    reg.writeString(Key, "a", "1");
    reg.writeString(Key, "b", "2");
    reg.removeValue(Key, "A");
    EXPECT_EQ(reg.valueCount(Key), 1);
    reg.writeString("Settings\\Window", "c", "3");
    // A section that holds others stays.
    reg.removeSection(Key);
    EXPECT_EQ(reg.subsectionCount(Key), 1);
    reg.removeSection("Settings\\Window");
    EXPECT_EQ(reg.subsectionCount(Key), 0);
    EXPECT_EQ(SettingsFile(file()).subsectionCount("Settings\\Window"), std::nullopt);
}

TEST_F(SettingsFileTest, AFileThatDoesNotReadBackIsKeptAsideAndReportedOnce)
{
    const QByteArray cases[] = {
        "not a settings file\n",
        "Varno Settings 1\n\"V\"=\"value before any key\"\n",
        "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"bad escape \\q\"\n",
        "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=dword:123456789\n",
        "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"unterminated\n",
        "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"\xff\xfe latin-1\"\n",
        QByteArray("Varno Settings 1\n\0\0\0", 20),
    };
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(bytes.toStdString());
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        writeFile(file(), bytes);
        {
            SettingsFile reg(file());
            EXPECT_FALSE(reg.loadProblem().isEmpty());
            EXPECT_EQ(reg.subsectionCount("SOFTWARE"), std::nullopt);
            reg.writeString(Key, "TTYPE", "STD");
        }
        const QStringList aside = QDir(dir.path()).entryList({"settings.reg.broken-*"});
        ASSERT_EQ(aside.size(), 1);
        QFile kept(dir.filePath(aside[0]));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), bytes);
        SettingsFile next(file());
        EXPECT_EQ(next.loadProblem(), QString());
        EXPECT_EQ(next.readString(Key, "TTYPE"), QStringLiteral("STD"));
    }
}

TEST_F(SettingsFileTest, AHandEditedFileWithCommentsAndCrLfReads)
{
    writeFile(
        file(),
        "; my settings\r\nVarno Settings 1\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VARNO\\Settings]"
        "\r\n\"Name1\"=\"Ann\"\r\n@=\"default\"\r\n\"Other\"=hex(7):41,00\r\n");
    SettingsFile reg(file());
    EXPECT_EQ(reg.loadProblem(), QString());
    EXPECT_EQ(reg.readString(Key, "Name1"), QStringLiteral("Ann"));
    EXPECT_EQ(reg.readString(Key, ""), QStringLiteral("default"));
    EXPECT_EQ(reg.valueType(Key, 3), QString());
    reg.writeString(Key, "Name2", "Bo");
    EXPECT_TRUE(readFile(file()).contains("\"Other\"=hex(7):41,00\n"));
}

TEST_F(SettingsFileTest, AnUnwritableLocationKeepsWorkingInMemory)
{
    // The settings folder is a plain file: every write fails, silently.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    writeFile(blocker, {});
    SettingsFile reg(blocker + QStringLiteral("/settings.reg"));
    EXPECT_EQ(reg.readStringOrStore(Key, "TTYPE", "QVGA"), QStringLiteral("QVGA"));
    reg.writeString(Key, "TTYPE", "VGA");
    EXPECT_EQ(reg.readString(Key, "TTYPE"), QStringLiteral("VGA"));
}

TEST_F(SettingsFileTest, TwoBrokenFilesInOneSecondAreBothKept)
{
    for (const QByteArray &bytes : {QByteArray("first broken\n"), QByteArray("second broken\n")}) {
        writeFile(file(), bytes);
        SettingsFile reg(file());
        EXPECT_TRUE(reg.writable());
    }
    EXPECT_EQ(QDir(dir.path()).entryList({"settings.reg.broken-*"}).size(), 2);
}
