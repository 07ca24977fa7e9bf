#include "app/settingsfile.h"
#include "support/sandbox.h"

using namespace varno;
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
        QByteArray line;      // the value as stored in the file
        QString result;       // what the read returns
        QString storedAfter;  // ReadRegString afterwards
    } cases[] = {
        // A double word is the wrong type and is replaced; empty text gives
        // the default without storing it; text ends at its first zero.
        {"\"V\"=dword:00000005", "dflt", "dflt"},
        {"\"V\"=\"\"", "dflt", ""},
        {"\"V\"=\"ab\\0cd\"", "ab", "ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        writeFile(file(), "Varno Settings 1\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VARNO\\Settings]\n" +
                              c.line + "\n");
        SettingsFile reg(file());
        EXPECT_EQ(reg.readStringOrStore(Key, "V", "dflt"), c.result);
        EXPECT_EQ(reg.readString(Key, "V"), c.storedAfter);
        EXPECT_EQ(reg.valueType(Key, 1), QStringLiteral("UNI"));
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
    // A string where a word belongs reads as 0 and is left alone.
    reg.writeString(Key, "wm5colors", "yes");
    EXPECT_EQ(reg.readWordOrStore(Key, "wm5colors", 7), 0);
    EXPECT_EQ(reg.valueType(Key, 1), QStringLiteral("UNI"));
}

// Binary values, subsections and removal are used by nothing in Varno.
TEST_F(SettingsFileTest, TextAndWordsSurviveTheFile)
{
    const QString tricky = QStringLiteral("a \"quoted\" C:\\path\\ line\nbreak\ttab \u00e9\u4e2d");
    {
        SettingsFile reg(file());
        reg.writeString(Key, "Text", tricky);
        reg.writeWord(Key, "Word", static_cast<int32_t>(0x80000001u));
    }
    SettingsFile reg(file());
    EXPECT_EQ(reg.readString(Key, "text"), tricky);  // names ignore case
    EXPECT_EQ(reg.readWord(Key, "Word"), static_cast<int32_t>(0x80000001u));
    EXPECT_EQ(reg.valueType(Key, 2), QStringLiteral("WRD"));
}

TEST_F(SettingsFileTest, AnUnwritableLocationKeepsWorkingInMemory)
{
    // The settings folder is a plain file: every write fails, silently.
    writeFile(dir.filePath("blocker"), {});
    SettingsFile reg(dir.filePath("blocker/settings.reg"));
    EXPECT_EQ(reg.readStringOrStore(Key, "TTYPE", "QVGA"), QStringLiteral("QVGA"));
    reg.writeString(Key, "TTYPE", "VGA");
    EXPECT_EQ(reg.readString(Key, "TTYPE"), QStringLiteral("VGA"));
}
