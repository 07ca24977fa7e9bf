// Damaged and hostile themes: the user's document survives them, the work
// they cause is bounded, and nothing they hold outlives their load.
#include "package/cabinetreader.h"
#include "package/cabwriter.h"
#include "themeworkspace.h"

#include <QDataStream>

using namespace varno;
using varno::test::readFile;

namespace {

struct StoredMember {
    QByteArray name;
    quint32 offset, length;
};

// A cabinet of one uncompressed folder holding `folder`, its members
// pointing anywhere into it. `badLastBlock` gives the last data block a
// wrong checksum, so only a decode that reaches it fails.
QByteArray storedCabinet(const QByteArray &folder, const std::vector<StoredMember> &members,
                         bool badLastBlock = false)
{
    QByteArray head, files, data;
    QDataStream h(&head, QIODevice::WriteOnly), f(&files, QIODevice::WriteOnly),
        d(&data, QIODevice::WriteOnly);
    for (QDataStream *s : {&h, &f, &d})
        s->setByteOrder(QDataStream::LittleEndian);
    // Size, offset, folder 0, a date at midnight, the archive attribute, name.
    for (const StoredMember &m : members) {
        f << m.length << m.offset << quint16(0) << quint16(0x5921) << quint16(0) << quint16(0x20);
        f.writeRawData(m.name.constData(), int(m.name.size()) + 1);
    }
    const int blocks = int((folder.size() + 32767) / 32768);
    for (int i = 0; i < blocks; ++i) {
        const QByteArray chunk = folder.mid(i * 32768, 32768);
        // A zero checksum is none.
        d << quint32(badLastBlock && i == blocks - 1 ? 0x12345678u : 0) << quint16(chunk.size())
          << quint16(chunk.size());
        d.writeRawData(chunk.constData(), int(chunk.size()));
    }
    // The header (version 1.3, one folder), then the folder: where its data
    // starts, how many blocks, stored.
    const quint32 coffFiles = 44, coffCabStart = coffFiles + quint32(files.size());
    h.writeRawData("MSCF", 4);
    h << quint32(0) << coffCabStart + quint32(data.size()) << quint32(0) << coffFiles << quint32(0)
      << quint8(3) << quint8(1) << quint16(1) << quint16(members.size()) << quint16(0) << quint16(0)
      << quint16(0) << coffCabStart << quint16(blocks) << quint16(0);
    return head + files + data;
}

// Writes `bytes` to `path` and gives the path.
QString written(const QString &path, const QByteArray &bytes)
{
    varno::test::writeFile(path, bytes);
    return path;
}

// Many members at one far offset of a folder: a reader that decodes the
// folder afresh for each member does the whole folder's work each time.
std::vector<StoredMember> sharedFarOffset(int count, quint32 offset)
{
    std::vector<StoredMember> members;
    for (int i = 0; i < count; ++i)
        members.push_back({QByteArray("m") + QByteArray::number(i), offset, 16});
    return members;
}

class DamagedThemes : public varno::test::ThemeWorkspace {
protected:
    bool load(const QString &file)
    {
        ThemeContext c = ctx();
        return loadThemeFile(c, view, file, false);
    }
    // A real theme as the editor saves it.
    QByteArray goodTheme()
    {
        doc.themeName = QStringLiteral("Good");
        doc.todayPicture = Raster(640, 588);
        doc.todayPicture.fill(rgb(10, 120, 200));
        doc.menuPicture = doc.todayPicture;
        EXPECT_TRUE(save(CompressionHigh, home.filePath("good.tsk")));
        return readFile(home.filePath("good.tsk"));
    }
    // What the user had before a load was tried.
    void userDocument()
    {
        doc.themeName = doc.currentThemeName = QStringLiteral("Mine");
        doc.colours.colors = defaultThemeColors();
        doc.colours.colors[NavBarLeft] = rgb(1, 2, 3);
        doc.todayPicture = Raster(640, 588);
        doc.todayPicture.fill(rgb(7, 7, 7));
        doc.themeType = QStringLiteral("QVGA");
    }
    void expectUserDocument()
    {
        EXPECT_EQ(doc.themeName, QStringLiteral("Mine"));
        EXPECT_EQ(doc.colours.colors[NavBarLeft], rgb(1, 2, 3));
        EXPECT_EQ(doc.todayPicture.pixel(5, 5), rgb(7, 7, 7));
        EXPECT_FALSE(view.calls.contains(QStringLiteral("DoScreenMain MAIN")));
    }
};

}  // namespace

TEST_F(DamagedThemes, ACutThemeSaysWhyAndLeavesTheDocumentAsItWas)
{
    const QByteArray good = goodTheme();
    for (const int keep : {60, 200, 2000, int(good.size()) / 2, int(good.size()) - 10}) {
        SCOPED_TRACE(keep);
        userDocument();
        view.calls.clear();
        prompt.clear();
        EXPECT_FALSE(load(written(home.filePath("cut.tsk"), good.left(keep))));
        ASSERT_EQ(prompt.messages().size(), 1u);
        const varno::test::RecordedMessage m = prompt.messages()[0];
        EXPECT_TRUE(m.text.startsWith(QLatin1String("Error: "))) << m.text.toStdString();
        EXPECT_TRUE(m.text.endsWith(QLatin1String(" (LoadTheme)"))) << m.text.toStdString();
        EXPECT_EQ(m.icon, MsgIcon::Critical);
        expectUserDocument();
        EXPECT_EQ(leftovers(), QStringList());
    }
}

TEST_F(DamagedThemes, MembersInFoldersNamedLikeWorkingFilesLeaveNoTrace)
{
    goodTheme();
    for (const char *member : {"tdywater.gif\\readme.txt", "tdywater.001\\x"}) {
        SCOPED_TRACE(member);
        // The good theme's members plus one hostile member in a folder.
        CabinetReader reader(home.filePath("good.tsk"));
        QTemporaryDir parts;
        ASSERT_TRUE(reader.extract(QString(), parts.path(), QString()));
        std::vector<CabMember> members;
        for (const QString &name : QDir(parts.path()).entryList(QDir::Files))
            members.push_back({name, readFile(parts.filePath(name))});
        members.push_back({member, "x"});
        const QString hostile = home.filePath("hostile.tsk");
        writeCabinet(hostile, members, false);

        EXPECT_TRUE(load(hostile));
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_TRUE(save(CompressionNone, home.filePath("after.tsk")));
        EXPECT_TRUE(load(home.filePath("after.tsk")));
    }
}

TEST(CabinetWork, MembersSharingAFarOffsetDecodeTheirFolderOnce)
{
    QTemporaryDir dir;
    const quint32 far = 200000;
    QByteArray folder(int(far) + 16, 'a');
    folder.replace(int(far), 16, "the shared bytes");
    const QString cab =
        written(dir.filePath("shared.cab"), storedCabinet(folder, sharedFarOffset(300, far)));
    CabinetReader reader(cab);
    ASSERT_TRUE(reader.extract(QString(), dir.filePath("out"), QString()));
    EXPECT_EQ(reader.decodedBytes(), folder.size());
    EXPECT_EQ(readFile(dir.filePath("out/m299")), QByteArray("the shared bytes"));
}

TEST(CabinetWork, RetriesOfADamagedFolderStopAtTheExpansionLimit)
{
    QTemporaryDir dir;
    // 4 MiB to the shared members: the limit pays for 15 retries of them.
    const quint32 far = 4 * 1024 * 1024;
    QByteArray folder(int(far) + 32768 * 2, 'b');
    std::vector<StoredMember> members = sharedFarOffset(40, far);
    members.push_back({"early", 0, 100});
    members.push_back({"broken", far + 40000, 100});  // in the damaged last block
    const QString cab = written(dir.filePath("damaged.cab"), storedCabinet(folder, members, true));
    CabinetReader reader(cab);
    EXPECT_FALSE(reader.extract(QString(), dir.filePath("out"), QString()));
    EXPECT_LE(reader.decodedBytes(), CabinetReader::MaxExpansion);
    int outOfWork = 0;
    for (const CabExtractFailure &f : reader.extractFailures())
        outOfWork += f.number == 14;
    EXPECT_GT(outOfWork, 20);
    EXPECT_TRUE(QFile::exists(dir.filePath("out/early")));
    EXPECT_TRUE(QFile::exists(dir.filePath("out/m0")));
}

TEST_F(DamagedThemes, AFolderWhereAWorkingFileBelongsIsClearedBeforeSaving)
{
    // What a hostile theme left in the working folder of an older version.
    ASSERT_TRUE(QDir().mkpath(paths.tmpFolder + "/tdywater.gif/inner"));
    doc.themeName = QStringLiteral("After");
    EXPECT_TRUE(save(CompressionNone, home.filePath("after.tsk")));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DamagedThemes, SavingOverALinkReplacesWhatItPointsTo)
{
    goodTheme();
    ASSERT_TRUE(QDir().mkpath(home.filePath("archive")));
    varno::test::writeFile(home.filePath("archive/real.tsk"), "old");
    ASSERT_TRUE(QFile::link(home.filePath("archive/real.tsk"), home.filePath("link.tsk")));
    ASSERT_TRUE(save(CompressionHigh, home.filePath("link.tsk")));
    EXPECT_TRUE(QFileInfo(home.filePath("link.tsk")).isSymLink());
    EXPECT_TRUE(readFile(home.filePath("archive/real.tsk")).startsWith("MSCF"));
}
