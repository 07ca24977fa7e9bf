// The cabinet reader, on cabinets we write and on cabinets made by others,
// broken ones included.
#include "base/runtimeerror.h"
#include "package/cabwriter.h"
#include "package/ccabfile.h"
#include "support/printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cctype>
#include <optional>

using namespace varno;

namespace {

const QString kCorpus = QStringLiteral(VARNO_CORPUS "/cab");

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

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

// The error a call throws, if any.
template <typename F> std::optional<RuntimeError> errorOf(F &&call)
{
    try {
        call();
    } catch (const RuntimeError &e) {
        return e;
    }
    return std::nullopt;
}

// A theme as our wizard lays it out, plus one member in a sub-folder.
const std::vector<CabMember> kTheme = {
    {QStringLiteral("000000vl.000"), QByteArray("MSCE setup file", 15)},
    {QStringLiteral("0stwater.002"), QByteArray(3000, 'm')},
    {QStringLiteral("tdywater.001"), QByteArray("today picture bytes")},
    {QStringLiteral("a\\b.txt"), QByteArray("in a folder")},
};
const QDateTime kStamp(QDate(2006, 1, 2), QTime(10, 20, 30));

class CabFile : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        cabPath = dir.filePath(QStringLiteral("theme.tsk"));
        WriteCabinet(cabPath, kTheme, GetParam(), kStamp);
        cab.strCabFile_m = cabPath;
        cab.AfterExtract = [this](const QString &target) { written << target; };
    }
    QTemporaryDir dir;
    QString cabPath;
    CCabFile cab;
    QStringList written;
};

INSTANTIATE_TEST_SUITE_P(StoredAndMszip, CabFile, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Mszip" : "Stored"; });

}  // namespace

TEST_P(CabFile, FileCountAddsUpAcrossCalls)
{
    EXPECT_EQ(cab.FileCount(), 4);
    EXPECT_EQ(cab.FileCount(), 8);
}

TEST_P(CabFile, ExtractAllCreatesTheFolderAndWritesEveryMember)
{
    const QString out = dir.filePath(QStringLiteral("x/y/z"));
    ASSERT_TRUE(cab.Extract(QString(), out, QString()));
    EXPECT_TRUE(cab.extractFailures().isEmpty());
    EXPECT_EQ(filesUnder(out),
              QStringList({"000000vl.000", "0stwater.002", "a/b.txt", "tdywater.001"}));
    for (const CabMember &m : kTheme) {
        SCOPED_TRACE(m.name.toStdString());
        EXPECT_EQ(readFile(out + u'/' + QString(m.name).replace(u'\\', u'/')), m.data);
    }
    EXPECT_EQ(written, QStringList({out + "/000000vl.000", out + "/0stwater.002",
                                    out + "/tdywater.001", out + "/a/b.txt"}));
}

TEST_P(CabFile, EmptyOutputPathWritesBesideTheCabinet)
{
    ASSERT_TRUE(cab.Extract(QStringLiteral("tdywater.001"), QString(), QString()));
    EXPECT_EQ(readFile(dir.filePath("tdywater.001")), kTheme[2].data);
    EXPECT_EQ(written, QStringList({dir.filePath("tdywater.001")}));
}

TEST_P(CabFile, OutputFileForEveryMemberKeepsTheLast)
{
    const QString out = dir.filePath(QStringLiteral("out/"));
    ASSERT_TRUE(cab.Extract(QString(), out, QStringLiteral("one.bin")));
    EXPECT_EQ(filesUnder(out), QStringList({"one.bin"}));
    EXPECT_EQ(readFile(out + "one.bin"), kTheme[3].data);
    EXPECT_EQ(written.size(), 4);
}

TEST_P(CabFile, ExtractSelectsByWholeNameIgnoringCase)
{
    const struct {
        const char *wanted;
        QStringList files;
    } cases[] = {
        {"TDYWATER.001", {"tdywater.001"}},
        {"A\\B.TXT", {"a/b.txt"}},
        {"b.txt", {}},  // the whole name counts, not its file part
        {"nothing", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wanted);
        QTemporaryDir out;
        EXPECT_TRUE(cab.Extract(QString::fromLatin1(c.wanted), out.path(), QString()));
        EXPECT_EQ(filesUnder(out.path()), c.files);
    }
}

TEST_P(CabFile, BeforeExtractCancelSkipsTheMember)
{
    QStringList asked;
    cab.BeforeExtract = [&](const QString &name, bool &cancel) {
        asked << name;
        cancel = name == QLatin1String("0stwater.002");
    };
    ASSERT_TRUE(cab.Extract(QString(), dir.filePath("out"), QString()));
    EXPECT_EQ(asked, QStringList({"000000vl.000", "0stwater.002", "tdywater.001", "a\\b.txt"}));
    EXPECT_EQ(filesUnder(dir.filePath("out")),
              QStringList({"000000vl.000", "a/b.txt", "tdywater.001"}));
    EXPECT_EQ(written.size(), 3);
}

TEST_P(CabFile, GetInfoReportsFilePartStampSizeAndFolderPart)
{
    QStringList seen;
    cab.FileFound = [&](const QString &name, const QDateTime &when, std::int64_t size,
                        const QString &path) {
        EXPECT_EQ(when, kStamp);
        seen << QStringLiteral("%1|%2|%3").arg(path, name).arg(size);
    };
    cab.GetInfo();
    EXPECT_EQ(seen, QStringList({"|000000vl.000|15", "|0stwater.002|3000", "|tdywater.001|19",
                                 "a\\|b.txt|11"}));
    seen.clear();
    cab.GetInfo(QStringLiteral("A\\b.TXT"));
    cab.GetInfo(QStringLiteral("b.txt"));
    EXPECT_EQ(seen, QStringList({"a\\|b.txt|11"}));
}

TEST_P(CabFile, GetXMLListsMatchingFileParts)
{
    const QString date = QLocale::system().toString(kStamp, QLocale::ShortFormat);
    auto entry = [&](const QString &full, const QString &name, int size, const QString &path) {
        return "<FILE><FULLNAME>" + full + "</FULLNAME><NAME>" + name + "</NAME><DATE>" + date +
               "</DATE><SIZE>" + QString::number(size) + "</SIZE><PATH>" + path +
               "</PATH></FILE>\r\n";
    };
    const QString head = "<?xml version=\"1.0\"?><CABFILE CABFILENAME = '" + cabPath + "'><FILES>";
    const QString tail = QStringLiteral("</FILES></CABFILE>");
    EXPECT_EQ(cab.GetXML(QStringLiteral("B.TXT")),
              head + entry("a\\b.txt", "b.txt", 11, "a\\") + tail);
    // A second call starts afresh rather than adding to the first.
    EXPECT_EQ(cab.GetXML(), head + entry("000000vl.000", "000000vl.000", 15, "") +
                                entry("0stwater.002", "0stwater.002", 3000, "") +
                                entry("tdywater.001", "tdywater.001", 19, "") +
                                entry("a\\b.txt", "b.txt", 11, "a\\") + tail);
}

TEST_P(CabFile, GetXMLWritesTheCabinetPathUnescaped)
{
    const QString odd = dir.filePath(QStringLiteral("it's & co/t.tsk"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(odd).path()));
    ASSERT_TRUE(QFile::copy(cabPath, odd));
    auto wellFormed = [](const QString &xml) {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        return !reader.hasError();
    };
    EXPECT_TRUE(wellFormed(cab.GetXML()));
    cab.strCabFile_m = odd;
    const QString xml = cab.GetXML();
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\"?><CABFILE CABFILENAME = '" + odd + "'>"));
    EXPECT_FALSE(wellFormed(xml));
}

TEST_P(CabFile, MemberThatCannotBeWrittenFailsAloneAndExtractSaysFalse)
{
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    writeFile(out + "/a", "a plain file where the folder should be");
    EXPECT_FALSE(cab.Extract(QString(), out, QString()));
    ASSERT_EQ(cab.extractFailures().size(), 1);
    EXPECT_EQ(cab.extractFailures()[0].FileName, "a\\b.txt");
    EXPECT_EQ(cab.extractFailures()[0].Number, 82);
    EXPECT_EQ(cab.extractFailures()[0].Description, "The directory or file cannot be created.");
    EXPECT_EQ(filesUnder(out), QStringList({"000000vl.000", "0stwater.002", "a", "tdywater.001"}));
    EXPECT_EQ(written.size(), 3);
    // The next extraction forgets earlier failures.
    EXPECT_TRUE(cab.Extract(QStringLiteral("tdywater.001"), out, QString()));
}

TEST_P(CabFile, HostileNamesAreNeverWrittenOutsideTheFolder)
{
    const QStringList hostile = {"..\\up.txt", "a\\..\\..\\up.txt", "\\root.txt", "C:\\dos.txt",
                                 "c:up.txt",   "a\\..\\in.txt",     "folder\\",   "."};
    std::vector<CabMember> members;
    for (const QString &name : hostile)
        members.push_back({name, QByteArray("x")});
    members.push_back({QStringLiteral("fine.txt"), QByteArray("y")});
    WriteCabinet(cabPath, members, GetParam(), kStamp);

    const QString out = dir.filePath("parent/out");
    EXPECT_FALSE(cab.Extract(QString(), out, QString()));
    QStringList failed;
    for (const CabExtractFailure &f : cab.extractFailures()) {
        EXPECT_EQ(f.Number, 123) << f.FileName.toStdString();
        failed << f.FileName;
    }
    EXPECT_EQ(failed, hostile);
    EXPECT_EQ(filesUnder(dir.filePath("parent")), QStringList({"out/fine.txt"}));
    EXPECT_EQ(filesUnder(dir.path()), QStringList({"parent/out/fine.txt", "theme.tsk"}));

    // The caller's own output name is held to the same rule.
    EXPECT_FALSE(cab.Extract(QStringLiteral("fine.txt"), out, QStringLiteral("../up.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath("parent/up.txt")));
}

TEST_P(CabFile, CorruptDataFailsEveryMemberAndLeavesNoHalfFile)
{
    QByteArray bytes = readFile(cabPath);
    bytes[bytes.size() - 5] = char(bytes[bytes.size() - 5] ^ 0x55);
    writeFile(cabPath, bytes);
    const QString out = dir.filePath("out");
    EXPECT_FALSE(cab.Extract(QString(), out, QString()));
    EXPECT_EQ(cab.extractFailures().size(), 4);
    for (const CabExtractFailure &f : cab.extractFailures())
        EXPECT_TRUE(f.Number == 23 || f.Number == 13) << f.Number;
    EXPECT_EQ(filesUnder(out), QStringList());
    EXPECT_TRUE(written.isEmpty());
}

TEST_P(CabFile, WalkStartedFromAnEventLeavesTheOuterWalkGoing)
{
    CCabFile inner;
    inner.strCabFile_m = cabPath;
    QStringList seen;
    cab.FileFound = [&](const QString &name, const QDateTime &, std::int64_t, const QString &) {
        seen << name;
        inner.FileCount();
    };
    cab.GetInfo();
    EXPECT_EQ(seen.size(), 4);
    EXPECT_EQ(inner.FileCount(), 20);

    // A handler that throws ends the walk; the next walk starts cleanly.
    cab.FileFound = [](const QString &, const QDateTime &, std::int64_t, const QString &) {
        throw RuntimeError(5, "test", "stop");
    };
    EXPECT_TRUE(errorOf([&] { cab.GetInfo(); }));
    EXPECT_EQ(cab.FileCount(), 4);
}

TEST(CabFileErrors, EveryOperationNeedsTheCabinetPath)
{
    CCabFile cab;
    const std::pair<const char *, std::function<void()>> calls[] = {
        {"FileCount", [&] { cab.FileCount(); }},
        {"Extract", [&] { cab.Extract(); }},
        {"GetInfo", [&] { cab.GetInfo(); }},
        {"GetXML", [&] { cab.GetXML(); }},
    };
    for (const auto &[name, call] : calls) {
        SCOPED_TRACE(name);
        const auto e = errorOf(call);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Number, -2147219548);
        EXPECT_EQ(e->Source, "CabFile");
        EXPECT_EQ(e->Description, "You must set the strCabFile_m property before taking any "
                                  "action on the CabFile object.");
    }
}

TEST(CabFileErrors, CabinetThatCannotBeWalked)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("empty.tsk"), QByteArray());
    writeFile(dir.filePath("text.tsk"), QByteArray("MSCF but not really a cabinet at all"));
    WriteCabinet(dir.filePath("cut.tsk"), kTheme, false, kStamp);
    writeFile(dir.filePath("cut.tsk"), readFile(dir.filePath("cut.tsk")).left(60));
    const struct {
        QString path;
        int number;
        const char *description;
    } cases[] = {
        {dir.filePath("missing.tsk"), 2, "The system cannot find the file specified."},
        {dir.filePath("no/such/folder/x.tsk"), 3, "The system cannot find the path specified."},
        {dir.path(), 5, "Access is denied."},
        {dir.filePath("empty.tsk"), 13, "Invalid data."},
        {dir.filePath("text.tsk"), 13, "Invalid data."},
        {dir.filePath("cut.tsk"), 13, "Invalid data."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        CCabFile cab;
        cab.strCabFile_m = c.path;
        const auto e = errorOf([&] { cab.FileCount(); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Number, c.number);
        EXPECT_EQ(e->Source, "CabFile");
        EXPECT_EQ(e->Description, c.description);
    }
}

TEST(CabFileErrors, ImpossibleStampGivesAnInvalidDate)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.tsk");
    WriteCabinet(path, {{QStringLiteral("a.txt"), QByteArray("a")}}, false, kStamp);
    QByteArray bytes = readFile(path);
    // CFFILE: cbFile, uoffFolderStart, iFolder, then the DOS date and time.
    const quint32 coffFiles = qFromLittleEndian<quint32>(bytes.constData() + 16);
    qToLittleEndian<quint16>((26 << 9) | (0 << 5) | 2, bytes.data() + coffFiles + 10);  // month 0
    writeFile(path, bytes);

    CCabFile cab;
    cab.strCabFile_m = path;
    int found = 0;
    cab.FileFound = [&](const QString &, const QDateTime &when, std::int64_t, const QString &) {
        EXPECT_FALSE(when.isValid());
        ++found;
    };
    cab.GetInfo();
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(cab.GetXML().contains("<DATE></DATE>"));
}

TEST(CabFileHelpers, CreatePathMakesEveryMissingLevel)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("file"), "x");
    const struct {
        QString path;
        bool ok;
    } cases[] = {
        {QString(), false},
        {dir.filePath("one"), true},
        {dir.filePath("one"), true},  // already there
        {dir.filePath("a/b/c/"), true},
        {dir.filePath("file"), false},
        {dir.filePath("file/below"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(CreatePath(c.path), c.ok);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
}

TEST(CabFileHelpers, SplitCabNameAtTheLastBackslash)
{
    const struct {
        const char *name, *folder, *file;
    } cases[] = {
        {"tdywater.001", "", "tdywater.001"},
        {"a\\b.txt", "a\\", "b.txt"},
        {"a\\b\\c.txt", "a\\b\\", "c.txt"},
        {"dir\\", "dir\\", ""},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CabNameParts p = SplitCabName(QString::fromLatin1(c.name));
        EXPECT_EQ(p.folder, QString::fromLatin1(c.folder));
        EXPECT_EQ(p.file, QString::fromLatin1(c.file));
    }
}

namespace {

bool haveCorpus()
{
    return QFileInfo(kCorpus).isDir();
}

QStringList corpusFiles(const QStringList &patterns)
{
    QStringList files;
    for (const QString &sub : {QStringLiteral("libmspack-cabd"), QStringLiteral("cabextract")}) {
        const QDir d(kCorpus + u'/' + sub);
        for (const QString &name : d.entryList(patterns, QDir::Files, QDir::Name))
            files << sub + u'/' + name;
    }
    return files;
}

// Names and sizes as GetInfo reports them.
QStringList listing(CCabFile &cab)
{
    QStringList seen;
    cab.FileFound = [&](const QString &name, const QDateTime &, std::int64_t size,
                        const QString &path) {
        seen << path + name + u' ' + QString::number(size);
    };
    cab.GetInfo();
    return seen;
}

// Members as cabextract writes them, when it is installed.
std::optional<QString> cabextractInto(const QString &cabinet, const QString &folder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("cabextract")).isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(QStringLiteral("cabextract"), {"-q", "-d", folder, cabinet});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return std::nullopt;
    return folder;
}

class CabCorpusValid : public ::testing::TestWithParam<QString> {};
class CabCorpusHostile : public ::testing::TestWithParam<QString> {};

std::string caseName(const ::testing::TestParamInfo<QString> &info)
{
    std::string name = info.param.toStdString();
    for (char &c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

const QStringList kValid = {"normal_*.cab", "reserve_*.cab", "search_*.cab", "mszip_lzx_qtm.cab",
                            "simple.cab",   "mixed.cab",     "dir.cab"};
const QStringList kHostile = {
    "bad_*.cab", "partial_*.cab", "cve-*.cab", "hidden-*.cab", "filename-read-violation-*.cab",
    "lzx-*.cab", "qtm-*.cab"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Corpus, CabCorpusValid, ::testing::ValuesIn(corpusFiles(kValid)),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Corpus, CabCorpusHostile, ::testing::ValuesIn(corpusFiles(kHostile)),
                         caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CabCorpusValid);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CabCorpusHostile);

// Listing agrees with itself and extraction with cabextract, byte for byte.
TEST_P(CabCorpusValid, ListsAndExtractsLikeAnIndependentReader)
{
    CCabFile cab;
    cab.strCabFile_m = kCorpus + u'/' + GetParam();
    const int count = cab.FileCount();
    ASSERT_GT(count, 0);
    EXPECT_EQ(listing(cab).size(), count);
    EXPECT_EQ(cab.GetXML().count(QStringLiteral("<FILE>")), count);

    QTemporaryDir out, reference;
    ASSERT_TRUE(cab.Extract(QString(), out.path(), QString()));
    const QStringList ours = filesUnder(out.path());
    EXPECT_FALSE(ours.isEmpty());
    if (const auto ref = cabextractInto(cab.strCabFile_m, reference.path())) {
        EXPECT_EQ(ours, filesUnder(*ref));
        for (const QString &f : ours)
            EXPECT_EQ(readFile(out.filePath(f)), readFile(reference.filePath(f)))
                << f.toStdString();
    }
}

// Whatever a broken cabinet holds, every operation ends with a result or
// one of our errors, and nothing lands outside the output folder.
TEST_P(CabCorpusHostile, EndsWithAnErrorOrAResultAndWritesOnlyInside)
{
    CCabFile cab;
    cab.strCabFile_m = kCorpus + u'/' + GetParam();
    QTemporaryDir parent;
    const QString out = parent.filePath(QStringLiteral("out"));
    cab.FileFound = [](const QString &, const QDateTime &, std::int64_t, const QString &) {};
    const std::pair<const char *, std::function<void()>> calls[] = {
        {"FileCount", [&] { cab.FileCount(); }},
        {"GetInfo", [&] { cab.GetInfo(); }},
        {"GetXML", [&] { cab.GetXML(); }},
        {"Extract", [&] { cab.Extract(QString(), out, QString()); }},
    };
    std::optional<RuntimeError> listError;
    for (const auto &[name, call] : calls) {
        SCOPED_TRACE(name);
        const auto e = errorOf(call);
        if (e) {
            EXPECT_EQ(e->Source, "CabFile");
            EXPECT_NE(e->Description, "Unknown error.") << e->Number;
        }
        if (name == std::string("FileCount"))
            listError = e;
    }
    for (const QString &f : filesUnder(parent.path()))
        EXPECT_TRUE(f.startsWith(QLatin1String("out/"))) << f.toStdString();
    for (const CabExtractFailure &f : cab.extractFailures())
        EXPECT_NE(f.Description, "Unknown error.") << f.Number;
    // A cabinet cut short inside its headers is refused outright.
    if (GetParam().contains(QLatin1String("/partial_")) &&
        !GetParam().endsWith(QLatin1String("partial_nodata.cab"))) {
        ASSERT_TRUE(listError);
        EXPECT_EQ(listError->Number, 13);
    }
}

TEST(CabCorpus, DirectoryClimbingNamesAreRefused)
{
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    CCabFile cab;
    cab.strCabFile_m = kCorpus + "/cabextract/dirwalk-vulns.cab";
    QTemporaryDir parent;
    const QString out = parent.filePath(QStringLiteral("out"));
    EXPECT_FALSE(cab.Extract(QString(), out, QString()));

    // Every name that is absolute or climbs fails, and only those.
    QStringList expected;
    cab.FileFound = [&](const QString &name, const QDateTime &, std::int64_t, const QString &path) {
        const QString whole = QString(path + name).replace(u'\\', u'/');
        if (whole.startsWith(u'/') || whole.split(u'/').contains(QLatin1String("..")))
            expected << path + name;
    };
    cab.GetInfo();
    QStringList failed;
    for (const CabExtractFailure &f : cab.extractFailures()) {
        EXPECT_EQ(f.Number, 123);
        failed << f.FileName;
    }
    EXPECT_EQ(failed, expected);
    EXPECT_EQ(failed.size(), 19);

    const QStringList written = filesUnder(parent.path());
    EXPECT_EQ(written.size(), cab.FileCount() - 19);
    for (const QString &f : written)
        EXPECT_TRUE(f.startsWith(QLatin1String("out/"))) << f.toStdString();
    EXPECT_FALSE(QFile::exists(QStringLiteral("/absolute/path")));
}

TEST(CabCorpus, HugeDeclaredSizesStopBeforeAnythingIsWritten)
{
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    // The corpus file wraps the real test case: a cabinet declaring members
    // of gigabytes.
    QTemporaryDir dir;
    CCabFile outer;
    outer.strCabFile_m = kCorpus + "/cabextract/large-files-cab.cab";
    ASSERT_TRUE(outer.Extract(QString(), dir.path(), QString()));

    CCabFile cab;
    cab.strCabFile_m = dir.filePath(QStringLiteral("large-files.cab"));
    std::int64_t declared = 0;
    cab.FileFound = [&](const QString &, const QDateTime &, std::int64_t size, const QString &) {
        declared += size;
    };
    cab.GetInfo();
    EXPECT_GT(declared, std::int64_t(CCabFile::MaxExpansion));

    const QString out = dir.filePath(QStringLiteral("out"));
    const auto e = errorOf([&] { cab.Extract(QString(), out, QString()); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Number, 14);
    EXPECT_EQ(e->Description, "Not enough storage is available to complete this operation.");
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(CabCorpus, CabinetSetIsReadAsFarAsItsFirstPartGoes)
{
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    CCabFile cab;
    cab.strCabFile_m = kCorpus + "/cabextract/split-1.cab";
    EXPECT_EQ(listing(cab),
              QStringList({"small1.bin 2000", "small2.bin 8000", "medium1.bin 40000"}));
    QTemporaryDir out;
    EXPECT_FALSE(cab.Extract(QString(), out.path(), QString()));
    EXPECT_EQ(filesUnder(out.path()), QStringList({"small1.bin"}));
    EXPECT_EQ(readFile(out.filePath("small1.bin")).size(), 2000);
    ASSERT_EQ(cab.extractFailures().size(), 2);
    EXPECT_EQ(cab.extractFailures()[0].FileName, "small2.bin");
    EXPECT_EQ(cab.extractFailures()[0].Number, 13);
}

TEST(CabCorpus, NamesAreUtf8WhenFlaggedAndLatin1Otherwise)
{
    if (!haveCorpus())
        GTEST_SKIP() << "no corpus at " << kCorpus.toStdString();
    const struct {
        const char *cabinet;
        bool utf8;
    } cases[] = {{"encoding-latin1", false}, {"case-utf8", true}, {"case-ascii", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cabinet);
        const QString base = kCorpus + "/cabextract/" + c.cabinet;
        QStringList expected;
        for (const QByteArray &line : readFile(base + ".txt").split('\n')) {
            if (!line.isEmpty() && !line.startsWith('#'))
                expected << (c.utf8 ? QString::fromUtf8(line) : QString::fromLatin1(line));
        }
        CCabFile cab;
        cab.strCabFile_m = base + ".cab";
        QStringList names;
        cab.FileFound = [&](const QString &name, const QDateTime &, std::int64_t,
                            const QString &path) { names << path + name; };
        cab.GetInfo();
        expected.sort();
        names.sort();
        EXPECT_EQ(names, expected);
    }
}
