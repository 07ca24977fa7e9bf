// The cabinet reader, on cabinets we write and on cabinets made by others,
// broken ones included.
#include "base/runtimeerror.h"
#include "package/cabwriter.h"
#include "package/cabinetreader.h"
#include "package/folderdecode.h"
#include "support/scriptedprompt.h"

#include <QDirIterator>
#include <QMap>
using namespace varno;
using varno::test::readFile;
using varno::test::thrownBy;
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

// Every operation Varno walks a cabinet with, each giving the number of
// members it saw (Extract: whether it wrote them all); Extract writes to
// `out`. The reader's count and XML listing are used by nothing in Varno.
std::vector<std::pair<const char *, std::function<int()>>> walks(CabinetReader &cab,
                                                                 const QString &out = QString())
{
    return {{"GetInfo", [&cab] { return int(listing(cab).size()); }},
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

TEST_P(CabinetReaderTest, ListingGivesFolderPartFilePartAndSize)
{
    EXPECT_EQ(listing(cab), QStringList({"|000000vl.000 15", "|0stwater.002 3000",
                                         "|tdywater.001 19", "a\\|b.txt 11"}));
    // The whole name selects, in any letter case; the file part alone does not.
    EXPECT_EQ(listing(cab, true, "A\\b.TXT") + listing(cab, true, "b.txt"),
              QStringList({"a\\|b.txt 11"}));
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
    QTemporaryDir elsewhere;
    writeFile(elsewhere.filePath("new"), {});
    const QFileDevice::Permissions newFilePermissions =
        QFile::permissions(elsewhere.filePath("new"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outPath);
        cab.beforeExtract = [&](const QString &name, bool &cancel) { cancel = name == c.cancel; };
        const QString out = dir.filePath(c.outPath), folder = QDir::cleanPath(out);
        EXPECT_TRUE(cab.extract(c.wanted, *c.outPath ? out : QString(), c.outFile));
        EXPECT_TRUE(cab.extractFailures().isEmpty());
        QMap<QString, QByteArray> content;
        if (!*c.outPath)
            content[QStringLiteral("theme.tsk")] = readFile(cabPath);
        for (int i : c.members) {
            const QString name =
                *c.outFile ? c.outFile : QString(kTheme[i].name).replace('\\', '/');
            content[name] = kTheme[i].data;
        }
        EXPECT_EQ(filesUnder(folder), content.keys());
        for (auto it = content.cbegin(); it != content.cend(); ++it) {
            const QString file = folder + u'/' + it.key();
            EXPECT_EQ(readFile(file), it.value()) << it.key().toStdString();
            if (it.key() == QLatin1String("theme.tsk"))
                continue;
            // As a new file would be made, with the member's own time.
            EXPECT_EQ(QFileInfo(file).lastModified(), kStamp);
            EXPECT_EQ(QFile::permissions(file), newFilePermissions);
        }
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
    // A second member meeting the first on disk never overwrites it.
    members.push_back({QStringLiteral(".\\fine.txt"), QByteArray("second")});
    writeCabinet(cabPath, members, GetParam(), kStamp);

    const QString out = dir.filePath("parent/out");
    EXPECT_FALSE(cab.extract(QString(), out, QString()));
    QStringList failed;
    for (const CabExtractFailure &f : cab.extractFailures()) {
        EXPECT_EQ(f.number, f.fileName == ".\\fine.txt" ? 80 : 123) << f.fileName.toStdString();
        failed << f.fileName;
    }
    EXPECT_EQ(failed, hostile + QStringList{".\\fine.txt"});
    EXPECT_EQ(readFile(out + "/fine.txt"), "y");
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
            const auto e = thrownBy(call);
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

// One corpus file: every walk, then where the files went.
void walkCorpusFile(const QString &file, bool sound)
{
    CabinetReader cab(kCorpus + u'/' + file);
    QTemporaryDir parent;
    const QString out = parent.filePath(QStringLiteral("out"));
    QList<int> results, errors;
    for (const auto &[name, call] : walks(cab, out)) {
        SCOPED_TRACE(name);
        int result = -1;
        const auto e = thrownBy([&, &call = call] { result = call(); });
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
    if (file.contains(QLatin1String("/partial_")) &&
        !file.endsWith(QLatin1String("partial_nodata.cab"))) {
        EXPECT_EQ(errors[0], 13);
    }
    if (!sound)
        return;
    EXPECT_GT(results[0], 0);
    EXPECT_EQ(results[1], 1);
    EXPECT_FALSE(filesUnder(out).isEmpty());
}

}  // namespace

// Whatever a cabinet holds, every walk ends with a result or one of our
// errors, and nothing lands outside the output folder. A sound cabinet
// lists consistently and extracts.
TEST_F(CabCorpus, ReadsSoundCabinetsAndEndsCleanlyOnBrokenOnes)
{
    const QStringList sound = corpusFiles(kValid);
    for (const QString &file : corpusFiles(kValid + kHostile)) {
        SCOPED_TRACE(file.toStdString());
        walkCorpusFile(file, sound.contains(file));
    }
}

// The corpus file wraps the real case: a cabinet declaring members of gigabytes.
TEST_F(CabCorpus, HugeDeclaredSizesStopBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    CabinetReader cab(kCorpus + "/cabextract/large-files-cab.cab");
    ASSERT_TRUE(cab.extract(QString(), dir.path(), QString()));
    cab = CabinetReader(dir.filePath(QStringLiteral("large-files.cab")));
    const QString out = dir.filePath(QStringLiteral("out"));
    const auto e = thrownBy([&] { cab.extract(QString(), out, QString()); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, 14);
    EXPECT_EQ(e->description, "The members would expand to 6144 MiB, beyond the 64 MiB that "
                              "Varno extracts from one cabinet.");
    EXPECT_FALSE(QFileInfo::exists(out));
}

// The listed names are those of the text file beside each cabinet.
TEST_F(CabCorpus, NamesAreUtf8WhenFlaggedAndLatin1Otherwise)
{
    for (const auto &[cabinet, utf8] : {std::pair{"encoding-latin1", false}, {"case-utf8", true}}) {
        SCOPED_TRACE(cabinet);
        const QString base = kCorpus + "/cabextract/" + cabinet;
        QStringList expected;
        for (const QByteArray &line : readFile(base + ".txt").split('\n'))
            if (!line.isEmpty() && !line.startsWith('#'))
                expected << (utf8 ? QString::fromUtf8(line) : QString::fromLatin1(line));
        CabinetReader cab(base + ".cab");
        QStringList names = listing(cab, false);
        names.sort();
        expected.sort();
        EXPECT_EQ(names, expected);
    }
}

// The quick folder decoder against the members it was made from: stored and
// MSZIP, ends inside, at and past block edges; a damaged block gives nothing
// so that libmspack decodes and reports it.
TEST(FolderDecode, GivesTheFolderStartOrNothing)
{
    QByteArray noise(70000, '\0');
    quint32 state = 1;
    for (char &c : noise)
        c = char((state = state * 1103515245u + 12345u) >> 24);
    const std::vector<CabMember> members = {{QStringLiteral("a"), QByteArray(40000, 'a')},
                                            {QStringLiteral("b"), noise}};
    const QByteArray folder = members[0].data + members[1].data;
    QTemporaryDir dir;
    for (const bool compress : {false, true}) {
        const QString path = dir.filePath(compress ? "mszip.cab" : "stored.cab");
        writeCabinet(path, members, compress, kStamp);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        FolderToDecode wanted{&file, 0, 0, compress ? 1 : 0, 4, 0};
        for (const qint64 length :
             {qint64(1), qint64(32768), qint64(32769), qint64(folder.size())}) {
            wanted.length = length;
            EXPECT_EQ(decodeFolderStart(wanted), folder.left(length)) << compress << length;
        }
        wanted.blockCount = 3;
        EXPECT_FALSE(decodeFolderStart(wanted)) << "a count the folder entry does not hold";
        file.close();
        QByteArray bytes = readFile(path);
        bytes[bytes.size() - 100] = char(bytes[bytes.size() - 100] ^ 0x01);
        writeFile(path, bytes);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        wanted.blockCount = 4;
        EXPECT_FALSE(decodeFolderStart(wanted)) << compress;
        wanted.length = 1;
        EXPECT_TRUE(decodeFolderStart(wanted)) << "the damage lies beyond what is wanted";
    }
}
