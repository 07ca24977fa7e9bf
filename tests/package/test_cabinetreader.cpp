// The cabinet reader, on cabinets we write and on cabinets made by others,
// broken ones included.
#include "base/runtimeerror.h"
#include "package/cabwriter.h"
#include "package/cabinetreader.h"
#include "support/sandbox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <optional>

using namespace varno;
using varno::test::readFile;
using varno::test::writeFile;

namespace {

const QString kCorpus = QStringLiteral(VARNO_CORPUS "/cab");

// Every file below `folder`, relative to it, sorted.
QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

template <typename F> std::optional<RuntimeError> errorOf(F &&call)
{
    try {
        call();
    } catch (const RuntimeError &e) {
        return e;
    }
    return std::nullopt;
}

// What GetInfo reports: "folder|file size" per member, or only the whole name.
QStringList listing(CabinetReader &cab, bool sizes = true, const QString &wanted = QString())
{
    QStringList seen;
    cab.fileFound = [&](const QString &name, const QDateTime &, std::int64_t size,
                        const QString &path) {
        seen << (sizes ? path + u'|' + name + u' ' + QString::number(size) : path + name);
    };
    cab.findMembers(wanted);
    return seen;
}

// Every operation that walks the cabinet, each giving the number of members
// it saw (Extract: whether it wrote them all); Extract writes to `out`.
std::vector<std::pair<const char *, std::function<int()>>> walks(CabinetReader &cab,
                                                                 const QString &out = QString())
{
    return {{"FileCount", [&cab] { return cab.fileCount(); }},
            {"GetInfo", [&cab] { return int(listing(cab).size()); }},
            {"GetXML", [&cab] { return int(cab.membersXml().count(QStringLiteral("<FILE>"))); }},
            {"Extract", [&cab, out] { return int(cab.extract(QString(), out, QString())); }}};
}

// A theme as our wizard lays it out, plus one member in a sub-folder.
const std::vector<CabMember> kTheme = {
    {QStringLiteral("000000vl.000"), QByteArray("MSCE setup file", 15)},
    {QStringLiteral("0stwater.002"), QByteArray(3000, 'm')},
    {QStringLiteral("tdywater.001"), QByteArray("today picture bytes")},
    {QStringLiteral("a\\b.txt"), QByteArray("in a folder")},
};
const QDateTime kStamp(QDate(2006, 1, 2), QTime(10, 20, 30));

class CabinetReaderTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        cabPath = dir.filePath(QStringLiteral("theme.tsk"));
        writeCabinet(cabPath, kTheme, GetParam(), kStamp);
        cab = CabinetReader(cabPath);
        cab.afterExtract = [this](const QString &target) { written << target; };
    }
    QTemporaryDir dir;
    QString cabPath;
    CabinetReader cab{QString()};
    QStringList written;
};

INSTANTIATE_TEST_SUITE_P(StoredAndMszip, CabinetReaderTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Mszip" : "Stored"; });

}  // namespace

// Stamps are local time as stored, unshifted; one that is no real date is invalid.
TEST_P(CabinetReaderTest, ListingGivesFolderPartFilePartSizeAndStamp)
{
    EXPECT_EQ(cab.fileCount(), 4);
    EXPECT_EQ(cab.fileCount(), 8);  // a running count
    EXPECT_EQ(listing(cab), QStringList({"|000000vl.000 15", "|0stwater.002 3000",
                                         "|tdywater.001 19", "a\\|b.txt 11"}));
    // The whole name selects, in any letter case; the file part alone does not.
    EXPECT_EQ(listing(cab, true, "A\\b.TXT") + listing(cab, true, "b.txt"),
              QStringList({"a\\|b.txt 11"}));
    QByteArray bytes = readFile(cabPath);
    // The first CFFILE: cbFile, uoffFolderStart, iFolder, then the DOS date.
    const quint32 coffFiles = qFromLittleEndian<quint32>(bytes.constData() + 16);
    qToLittleEndian<quint16>((26 << 9) | (0 << 5) | 2, bytes.data() + coffFiles + 10);  // month 0
    writeFile(cabPath, bytes);
    QList<QDateTime> stamps;
    cab.fileFound = [&](const QString &, const QDateTime &when, std::int64_t, const QString &) {
        stamps << when;
    };
    cab.findMembers();
    EXPECT_EQ(stamps, QList<QDateTime>({QDateTime(), kStamp, kStamp, kStamp}));
    EXPECT_EQ(cab.membersXml().count("<DATE></DATE>"), 1);
}

// The path goes in unescaped even where that breaks the XML.
TEST_P(CabinetReaderTest, GetXMLListsMatchingFilePartsAfresh)
{
    cab = CabinetReader(dir.filePath(QStringLiteral("it's & co.tsk")));
    ASSERT_TRUE(QFile::copy(cabPath, cab.path()));
    const QString date = QLocale::system().toString(kStamp, QLocale::ShortFormat);
    auto entry = [&](const QString &full, const QString &name, int size, const QString &path) {
        return "<FILE><FULLNAME>" + full + "</FULLNAME><NAME>" + name + "</NAME><DATE>" + date +
               "</DATE><SIZE>" + QString::number(size) + "</SIZE><PATH>" + path +
               "</PATH></FILE>\r\n";
    };
    const QString head =
        "<?xml version=\"1.0\"?><CABFILE CABFILENAME = '" + cab.path() + "'><FILES>";
    const QString tail = QStringLiteral("</FILES></CABFILE>");
    EXPECT_EQ(cab.membersXml(QStringLiteral("B.TXT")),
              head + entry("a\\b.txt", "b.txt", 11, "a\\") + tail);
    EXPECT_EQ(cab.membersXml(), head + entry("000000vl.000", "000000vl.000", 15, "") +
                                    entry("0stwater.002", "0stwater.002", 3000, "") +
                                    entry("tdywater.001", "tdywater.001", 19, "") +
                                    entry("a\\b.txt", "b.txt", 11, "a\\") + tail);
}

// Members written by index into kTheme, in cabinet order. A member that
// BeforeExtract cancels is skipped without counting as a failure.
TEST_P(CabinetReaderTest, ExtractWritesTheSelectedMembersWhereAsked)
{
    const struct {
        const char *wanted, *outPath, *outFile, *cancel;
        std::vector<int> members;
    } cases[] = {
        {"tdywater.001", "", "", "", {2}},  // beside the cabinet; first, while its folder is bare
        {"", "x/y/z", "", "", {0, 1, 2, 3}},
        {"A\\B.TXT", "folder", "", "", {3}},        // in any letter case
        {"", "one/", "one.bin", "", {0, 1, 2, 3}},  // all under one name: the last one stays
        {"", "cancel", "", "a\\b.txt", {0, 1, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outPath);
        written.clear();
        cab.beforeExtract = [&](const QString &name, bool &cancel) { cancel = name == c.cancel; };
        const QString out = dir.filePath(c.outPath), folder = QDir::cleanPath(out);
        EXPECT_TRUE(cab.extract(c.wanted, *c.outPath ? out : QString(), c.outFile));
        EXPECT_TRUE(cab.extractFailures().isEmpty());
        QStringList expected;
        QMap<QString, QByteArray> content;
        if (!*c.outPath)
            content[QStringLiteral("theme.tsk")] = readFile(cabPath);
        for (int i : c.members) {
            const QString name =
                *c.outFile ? c.outFile : QString(kTheme[i].name).replace('\\', '/');
            expected << folder + u'/' + name;
            content[name] = kTheme[i].data;
        }
        EXPECT_EQ(written, expected);
        EXPECT_EQ(filesUnder(folder), content.keys());
        for (auto it = content.cbegin(); it != content.cend(); ++it)
            EXPECT_EQ(readFile(folder + u'/' + it.key()), it.value()) << it.key().toStdString();
    }
}

TEST_P(CabinetReaderTest, MemberThatCannotBeWrittenFailsAloneAndExtractSaysFalse)
{
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    writeFile(out + "/a", "a plain file where the folder should be");
    EXPECT_FALSE(cab.extract(QString(), out, QString()));
    ASSERT_EQ(cab.extractFailures().size(), 1);
    EXPECT_EQ(cab.extractFailures()[0].fileName, "a\\b.txt");
    EXPECT_EQ(cab.extractFailures()[0].number, 82);
    EXPECT_EQ(cab.extractFailures()[0].description, "The directory or file cannot be created.");
    EXPECT_EQ(filesUnder(out), QStringList({"000000vl.000", "0stwater.002", "a", "tdywater.001"}));
    EXPECT_EQ(written.size(), 3);
    // The next extraction forgets earlier failures.
    EXPECT_TRUE(cab.extract(QStringLiteral("tdywater.001"), out, QString()));
}

TEST_P(CabinetReaderTest, HostileNamesAreNeverWrittenOutsideTheFolder)
{
    const QStringList hostile = {"..\\up.txt", "a\\..\\..\\up.txt", "\\root.txt", "C:\\dos.txt",
                                 "c:up.txt",   "a\\..\\in.txt",     "folder\\",   "."};
    std::vector<CabMember> members;
    for (const QString &name : hostile)
        members.push_back({name, QByteArray("x")});
    members.push_back({QStringLiteral("fine.txt"), QByteArray("y")});
    writeCabinet(cabPath, members, GetParam(), kStamp);

    const QString out = dir.filePath("parent/out");
    EXPECT_FALSE(cab.extract(QString(), out, QString()));
    QStringList failed;
    for (const CabExtractFailure &f : cab.extractFailures()) {
        EXPECT_EQ(f.number, 123) << f.fileName.toStdString();
        failed << f.fileName;
    }
    EXPECT_EQ(failed, hostile);
    EXPECT_EQ(filesUnder(dir.path()), QStringList({"parent/out/fine.txt", "theme.tsk"}));
    // The caller's own output name is held to the same rule.
    EXPECT_FALSE(cab.extract(QStringLiteral("fine.txt"), out, QStringLiteral("../up.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath("parent/up.txt")));
}

TEST_P(CabinetReaderTest, CorruptDataFailsEveryMemberAndLeavesNoHalfFile)
{
    QByteArray bytes = readFile(cabPath);
    bytes[bytes.size() - 5] = char(bytes[bytes.size() - 5] ^ 0x55);
    writeFile(cabPath, bytes);
    const QString out = dir.filePath("out");
    EXPECT_FALSE(cab.extract(QString(), out, QString()));
    EXPECT_EQ(cab.extractFailures().size(), 4);
    for (const CabExtractFailure &f : cab.extractFailures())
        EXPECT_TRUE(f.number == 23 || f.number == 13) << f.number;
    EXPECT_EQ(filesUnder(out), QStringList());
    EXPECT_TRUE(written.isEmpty());
}

TEST(CabinetReaderErrors, EveryWalkFailsOnACabinetThatCannotBeWalked)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("empty.tsk"), QByteArray());
    writeFile(dir.filePath("text.tsk"), QByteArray("MSCF but not really a cabinet at all"));
    writeCabinet(dir.filePath("cut.tsk"), kTheme, false, kStamp);
    writeFile(dir.filePath("cut.tsk"), readFile(dir.filePath("cut.tsk")).left(60));
    const std::tuple<QString, int, const char *> cases[] = {
        {QString(), -2147219548,
         "You must set the strCabFile_m property before taking any action on the CabFile object."},
        {dir.filePath("missing.tsk"), 2, "The system cannot find the file specified."},
        {dir.filePath("no/such/folder/x.tsk"), 3, "The system cannot find the path specified."},
        {dir.path(), 5, "Access is denied."},
        {dir.filePath("empty.tsk"), 13, "Invalid data."},
        {dir.filePath("text.tsk"), 13, "Invalid data."},
        {dir.filePath("cut.tsk"), 13, "Invalid data."},
    };
    for (const auto &[path, number, description] : cases) {
        CabinetReader cab(path);
        for (const auto &[name, call] : walks(cab)) {
            SCOPED_TRACE(path.toStdString() + ' ' + name);
            const auto e = errorOf(call);
            ASSERT_TRUE(e);
            EXPECT_EQ(e->number, number);
            EXPECT_EQ(e->source, "CabFile");
            EXPECT_EQ(e->description, description);
        }
    }
}

namespace {

const QStringList kValid = {"normal_*.cab", "reserve_*.cab", "search_*.cab", "mszip_lzx_qtm.cab",
                            "simple.cab",   "mixed.cab",     "dir.cab"};
const QStringList kHostile = {
    "bad_*.cab",     "partial_*.cab", "cve-*.cab", "hidden-*.cab", "filename-read-violation-*.cab",
    "dirwalk-*.cab", "lzx-*.cab",     "qtm-*.cab"};

QStringList corpusFiles(const QStringList &patterns)
{
    QStringList files;
    for (const QString &sub : {QStringLiteral("libmspack-cabd"), QStringLiteral("cabextract")}) {
        for (const QString &name : QDir(kCorpus + u'/' + sub).entryList(patterns, QDir::Files))
            files << sub + u'/' + name;
    }
    return files;
}

class CabCorpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo(kCorpus).isDir())
            GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    }
};
class CabCorpusFile : public ::testing::TestWithParam<QString> {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Corpus, CabCorpusFile, ::testing::ValuesIn(corpusFiles(kValid + kHostile)),
    [](const auto &info) {
        return QString(info.param).replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
    });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CabCorpusFile);

// Whatever a cabinet holds, every walk ends with a result or one of our
// errors, and nothing lands outside the output folder. A sound cabinet
// lists consistently and extracts as cabextract (when installed) does.
TEST_P(CabCorpusFile, ReadsSoundCabinetsAndEndsCleanlyOnBrokenOnes)
{
    const bool sound = corpusFiles(kValid).contains(GetParam());
    CabinetReader cab(kCorpus + u'/' + GetParam());
    QTemporaryDir parent, ref;
    const QString out = parent.filePath(QStringLiteral("out"));
    QList<int> results, errors;
    for (const auto &[name, call] : walks(cab, out)) {
        SCOPED_TRACE(name);
        int result = -1;
        const auto e = errorOf([&, &call = call] { result = call(); });
        results << result;
        errors << (e ? e->number : 0);
        if (e) {
            EXPECT_FALSE(sound) << e->number;
            EXPECT_EQ(e->source, "CabFile");
            EXPECT_NE(e->description, "Unknown error.") << e->number;
        }
    }
    for (const QString &f : filesUnder(parent.path()))
        EXPECT_TRUE(f.startsWith(QLatin1String("out/"))) << f.toStdString();
    for (const CabExtractFailure &f : cab.extractFailures())
        EXPECT_NE(f.description, "Unknown error.") << f.number;
    // A cabinet cut short inside its headers is refused outright.
    if (GetParam().contains(QLatin1String("/partial_")) &&
        !GetParam().endsWith(QLatin1String("partial_nodata.cab"))) {
        EXPECT_EQ(errors[0], 13);
    }
    if (!sound)
        return;
    EXPECT_GT(results[0], 0);
    EXPECT_EQ(results, QList<int>({results[0], results[0], results[0], 1}));
    const QStringList ours = filesUnder(out);
    EXPECT_FALSE(ours.isEmpty());
    if (QStandardPaths::findExecutable(QStringLiteral("cabextract")).isEmpty())
        return;
    QProcess p;
    p.start(QStringLiteral("cabextract"), {"-q", "-d", ref.path(), cab.path()});
    ASSERT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0);
    EXPECT_EQ(ours, filesUnder(ref.path()));
    for (const QString &f : ours)
        EXPECT_EQ(readFile(out + u'/' + f), readFile(ref.filePath(f))) << f.toStdString();
}

// The corpus file wraps the real case: a cabinet declaring members of gigabytes.
TEST_F(CabCorpus, HugeDeclaredSizesStopBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    CabinetReader cab(kCorpus + "/cabextract/large-files-cab.cab");
    ASSERT_TRUE(cab.extract(QString(), dir.path(), QString()));
    cab = CabinetReader(dir.filePath(QStringLiteral("large-files.cab")));
    const QString out = dir.filePath(QStringLiteral("out"));
    const auto e = errorOf([&] { cab.extract(QString(), out, QString()); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, 14);
    EXPECT_EQ(e->description, "Not enough storage is available to complete this operation.");
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(CabCorpus, CabinetSetIsReadAsFarAsItsFirstPartGoes)
{
    CabinetReader cab(kCorpus + "/cabextract/split-1.cab");
    EXPECT_EQ(listing(cab),
              QStringList({"|small1.bin 2000", "|small2.bin 8000", "|medium1.bin 40000"}));
    QTemporaryDir out;
    EXPECT_FALSE(cab.extract(QString(), out.path(), QString()));
    EXPECT_EQ(filesUnder(out.path()), QStringList({"small1.bin"}));
    EXPECT_EQ(readFile(out.filePath("small1.bin")).size(), 2000);
    ASSERT_EQ(cab.extractFailures().size(), 2);
    EXPECT_EQ(cab.extractFailures()[0].fileName, "small2.bin");
    EXPECT_EQ(cab.extractFailures()[0].number, 13);
}

TEST_F(CabCorpus, NamesAreUtf8WhenFlaggedAndLatin1Otherwise)
{
    const std::pair<const char *, bool> cases[] = {
        {"encoding-latin1", false}, {"case-utf8", true}, {"case-ascii", true}};
    for (const auto &[cabinet, utf8] : cases) {
        SCOPED_TRACE(cabinet);
        const QString base = kCorpus + "/cabextract/" + cabinet;
        QStringList expected;
        for (const QByteArray &line : readFile(base + ".txt").split('\n')) {
            if (!line.isEmpty() && !line.startsWith('#'))
                expected << (utf8 ? QString::fromUtf8(line) : QString::fromLatin1(line));
        }
        CabinetReader cab(base + ".cab");
        QStringList names = listing(cab, false);
        expected.sort();
        names.sort();
        EXPECT_EQ(names, expected);
    }
}
