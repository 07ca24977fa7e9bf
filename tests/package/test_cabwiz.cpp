// Our cabinet wizard, checked against the setup file layout and against
// cabextract as an independent reader.
#include "colour/colortable.h"
#include "package/cabwiz.h"
#include "package/cabinetreader.h"
#include "package/cesetup.h"
#include "package/infwriter.h"
#include "resources/resources.h"
#include "support/sandbox.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

using namespace varno;
using varno::test::readFile;
using varno::test::writeFile;

namespace {

// The exit code of cabextract, or -1 when it does not end.
int cabextract(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("cabextract"), args);
    return p.waitForFinished(30000) ? p.exitCode() : -1;
}

class CabWizScript : public ::testing::Test {
protected:
    // A theme's working folder: script, two pictures.
    void prepare(const QString &type, bool wm5, const ThemeColors &colours = defaultThemeColors())
    {
        writeFile(dir.filePath("vl.inf"),
                  buildInfText(customResource("TOPINF"), type, wm5, colours, "Blue Wave"));
        writeFile(dir.filePath("tdywater.gif"), QByteArray("today picture bytes"));
        writeFile(dir.filePath("stwater.gif"), QByteArray(3000, 'm'));
    }
    CabWizResult run(bool compress = false)
    {
        return runCabWiz({dir.filePath("vl.inf"), dir.filePath("CabWizErr.txt"), "ipaq", compress});
    }
    QTemporaryDir dir;
};

class CabWizTest : public CabWizScript {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("cabextract").isEmpty())
            GTEST_SKIP() << "cabextract is not installed";
    }
    QTemporaryDir out;
};

}  // namespace

// Stored and MSZIP cabinets that cabextract tests and unpacks to the setup
// file and the pictures under their device names; the setup file carries the
// name after its 100-byte header, the device files, and the DPI line, the 22
// colours and the base hue as registry records.
TEST_F(CabWizTest, BuildsWhatCabextractReadsBack)
{
    for (const bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "MSZIP" : "stored");
        ThemeColors colours = defaultThemeColors();
        colours[DotsColor] = rgb(1, 2, 3);
        colours.baseHueIndex = 300;
        prepare("VGA", true, colours);
        const CabWizResult r = run(compress);
        ASSERT_TRUE(r.ok) << r.problems.join('\n').toStdString();
        EXPECT_EQ(r.cabinet, dir.filePath("vl.ipaq.CAB"));
        EXPECT_EQ(readFile(dir.filePath("CabWizErr.txt")), QByteArray());
        EXPECT_EQ(cabextract({"-t", r.cabinet}), 0);
        ASSERT_EQ(cabextract({"-q", "-d", out.path(), r.cabinet}), 0);
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
                  (QStringList{"000000vl.000", "0stwater.002", "tdywater.001"}));
        EXPECT_EQ(readFile(out.filePath("tdywater.001")), QByteArray("today picture bytes"));
        EXPECT_EQ(readFile(out.filePath("0stwater.002")), QByteArray(3000, 'm'));
    }
    const QByteArray bytes = readFile(out.filePath("000000vl.000"));
    EXPECT_EQ(bytes.mid(100, 10), QByteArray("Blue Wave\0", 10));
    const Result<CeSetup> parsed = parseCeSetup(bytes);
    ASSERT_TRUE(parsed.ok());
    const CeSetup &s = parsed.value();
    EXPECT_EQ(s.unsupported, (QList<QByteArray>{"HPC", "Jupiter"}));
    EXPECT_EQ(s.processor, 2577u);
    ASSERT_EQ(s.files.size(), 2u);
    EXPECT_EQ(s.files[0].name + s.files[0].directory, "tdywater.gif%CE2%");
    EXPECT_EQ(s.files[0].flags, 0x40000000u);
    ASSERT_EQ(s.values.size(), 24u);
    const auto record = [&](size_t i) {
        const auto &v = s.values[i];
        return std::tuple(v.root, v.key, v.name, v.type, v.data);
    };
    EXPECT_EQ(record(0), std::tuple(2, QByteArray("Software\\Microsoft\\Today"), QByteArray("DPI"),
                                    0x00010001u, QByteArray("\xC0\0\0\0", 4)));
    EXPECT_EQ(record(1), std::tuple(3, QByteArray("Software\\Microsoft\\Color"), QByteArray("5"),
                                    1u, QByteArray("\x00\x80\xFF\x00", 4)));
    EXPECT_EQ(s.values[22].data, QByteArray("\x01\x02\x03\x00", 4));
    EXPECT_EQ(s.values[23].name, "BaseHue");
    EXPECT_EQ(s.values[23].data, QByteArray("\x2C\x01\0\0", 4));
    // Readers look for the records only past the registry area's lead.
    const int marker = findCeMarker(bytes);
    ASSERT_GE(marker, 0);
    EXPECT_GE(int(qFromLittleEndian<uint32_t>(bytes.constData() + 76)) + 12,
              marker + RegistryAreaLead);
    // Shared strings: "Software" and "Microsoft" are stored once.
    EXPECT_EQ(qFromLittleEndian<uint16_t>(bytes.constData() + 48), 5);
}

// A script the wizard cannot follow, or a count, length or offset too big
// for its field in the setup file, stops it with the script line that asked
// for it: nothing is wrapped, and no cabinet is left, not even an earlier one.
TEST_F(CabWizScript, ProblemsNameTheirLineAndLeaveNoCabinet)
{
    QByteArray keys;  // 65600 registry keys, one value each, after 22 colours
    for (int n = 0; n < 65600; ++n)
        keys += "HKCU," + QByteArray::number(n) + ",,0\n";
    const QByteArray longString =
        "reg_dpi = Software\\Microsoft\\Today\r\nbig=" + QByteArray(60000, 'b');
    const struct {
        const char *name;
        std::vector<std::pair<QByteArray, QByteArray>> edits;  // from, to
        QStringList problems;
    } cases[] = {
        {"missing picture", {}, {"line 25: cannot read stwater.gif"}},
        {"unlisted source",
         {{"stwater.gif\t= 1", "other.gif\t= 1"}},
         {"line 25: stwater.gif is not listed in [SourceDisksFiles]"}},
        {"bad binary",
         {{",0x00000001,0,80,FF,00", ",0x00000001,0,8G,FF,00"}},
         {"line 38: binary data must be hexadecimal bytes",
          "line 48: binary data must be hexadecimal bytes"}},
        {"unknown root",
         {{"HKLM,%reg_path%, 8", "HKXX,%reg_path%, 8"}},
         {"line 39: a registry entry needs a root key (HKCR, HKCU, HKLM or HKU), a key and flags"}},
        {"no app name",
         {{"AppName=Blue Wave", "Name=Blue Wave"}},
         {"[CEStrings] needs an AppName"}},
        {"disk outside",
         {{"1 = ,\"Other\",,\\", "1 = ,\"Other\",,..\\.."}},
         // Said for each of the two pictures on it.
         {"line 13: disk 1 points outside the script's folder",
          "line 13: disk 1 points outside the script's folder"}},
        {"wrong signature",
         {{"$Windows CE$", "$Windows NT$"}},
         {"line 1: CESignature must be \"$Windows CE$\""}},
        {"long name",
         {{"AppName=Blue Wave", "AppName=" + QByteArray(70000, 'a')}},
         {"line 62: AppName is too long: 70000 characters, the setup file has room for 65434"}},
        {"long provider",
         {{"\"Windows\"", QByteArray(65500, 'p')}},
         {"line 4: Provider is too long: 65500 characters, the setup file has room for 65424"}},
        {"long key name",
         {{"HKLM,%reg_path%, 8", "HKLM,%reg_path%\\" + QByteArray(70000, 'k') + ", 8"}},
         {"line 39: a directory or key name is too long: 70000 characters, the setup file has "
          "room for 65534"}},
        {"long value",
         {{"\r\n\r\n[CEStrings]", "\r\nHKCU,K,V,0," + QByteArray(70000, 'v') + "\r\n[CEStrings]"}},
         {"line 60: the registry value's name and data is too long: 70003 bytes, the setup file "
          "has room for 65535"}},
        {"deep directory",
         {{"= 0,%CE2%", "= 0,%CE2%" + QByteArray(33000, '\\').replace("\\", "\\d")}},
         {"line 28: the directory has too many parts: 33001, the setup file has room for 32766"}},
        {"many keys",
         {{"\r\n\r\n[CEStrings]", "\r\n" + keys + "\r\n[CEStrings]"}},
         {"line 65573: too many registry values: the setup file has room for 65535",
          "line 65591: too many names in directories and registry keys: the setup file has room "
          "for 65535",
          "line 65594: too many registry keys: the setup file has room for 65535"}},
        // Stopped while substituting, before 18 million characters are made.
        {"long expansion",
         {{"reg_dpi = Software\\Microsoft\\Today", longString},
          {"AppName=Blue Wave", "AppName=" + QByteArray("%big%").repeated(300)}},
         {"line 63: the [Strings] names used expand to more than 16 MiB of text"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prepare("QVGA", false);
        QByteArray script = readFile(dir.filePath("vl.inf"));
        for (const auto &[from, to] : c.edits) {
            ASSERT_TRUE(script.contains(from));
            script.replace(from, to);
        }
        writeFile(dir.filePath("vl.inf"), script);
        if (c.edits.empty())
            QFile::remove(dir.filePath("stwater.gif"));
        writeFile(dir.filePath("vl.ipaq.CAB"), "old");
        EXPECT_FALSE(run().ok);
        EXPECT_FALSE(QFile::exists(dir.filePath("vl.ipaq.CAB")));
        QByteArray log;
        for (const QString &p : c.problems)
            log += "vl.inf: Error: " + p.toLatin1() + "\r\n";
        EXPECT_EQ(readFile(dir.filePath("CabWizErr.txt")), log);
    }
}

// Member names padded with zeros to eight (as cabextract shows) or cut to
// eight; compression as the directive file says.
TEST(CabWizNames, EightDotThreeMembersAndTheCompressionDirective)
{
    EXPECT_EQ(cabMemberName("averylongname.bmp", 12), QStringLiteral("averylon.012"));
    EXPECT_EQ(cabMemberName("noext", 3), QStringLiteral("000noext.003"));
    QTemporaryDir dir;
    const QString ddf = dir.filePath("cabwiz.ddf");
    writeFile(ddf, customResource("CABWIZDDF"));
    EXPECT_FALSE(ddfWantsCompression(ddf));
    writeFile(ddf, ".Set Compress = on   ; yes\r\n;.Set Compress=OFF\r\n");
    EXPECT_TRUE(ddfWantsCompression(ddf));
    EXPECT_FALSE(ddfWantsCompression(dir.filePath("missing.ddf")));
}
