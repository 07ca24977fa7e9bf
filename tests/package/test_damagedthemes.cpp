// Damaged and hostile themes: the user's document survives them, the work
// they cause is bounded, and nothing they hold outlives their load.
#include "package/cabinetreader.h"
#include "package/cabwriter.h"
#include "package/themeloader.h"
#include "support/scriptedprompt.h"
#include "themeworkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace varno;
using varno::test::RecordedMessage;

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
    const auto le16 = [](QByteArray &b, quint16 v) {
        b.append(char(v & 0xff)).append(char(v >> 8));
    };
    const auto le32 = [&](QByteArray &b, quint32 v) {
        le16(b, quint16(v & 0xffff));
        le16(b, quint16(v >> 16));
    };
    const int blocks = int((folder.size() + 32767) / 32768);
    QByteArray files;
    for (const StoredMember &m : members) {
        le32(files, m.length);
        le32(files, m.offset);
        le16(files, 0);                       // iFolder
        le16(files, 0x5921), le16(files, 0);  // a date and midnight
        le16(files, 0x20);                    // archive attribute
        files += m.name + '\0';
    }
    const quint32 coffFiles = 36 + 8;
    const quint32 coffCabStart = coffFiles + quint32(files.size());
    QByteArray data;
    for (int i = 0; i < blocks; ++i) {
        const QByteArray chunk = folder.mid(i * 32768, 32768);
        le32(data, badLastBlock && i == blocks - 1 ? 0x12345678u : 0);  // 0: no checksum
        le16(data, quint16(chunk.size()));
        le16(data, quint16(chunk.size()));
        data += chunk;
    }
    QByteArray cab("MSCF");
    le32(cab, 0);
    le32(cab, coffCabStart + quint32(data.size()));
    le32(cab, 0);
    le32(cab, coffFiles);
    le32(cab, 0);
    cab.append(char(3)).append(char(1));
    le16(cab, 1);  // cFolders
    le16(cab, quint16(members.size()));
    le16(cab, 0), le16(cab, 0), le16(cab, 0);
    le32(cab, coffCabStart);
    le16(cab, quint16(blocks));
    le16(cab, 0);  // stored
    return cab + files + data;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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
        ThemeContext c = ctx();
        const QString path = home.filePath("good.tsk");
        EXPECT_TRUE(saveTheme(c, CompressionHigh, path));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
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
    QStringList workLeftovers() const
    {
        return QDir(paths.tmpFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    struct View : ThemeLoadView {
        void drawScreen(const QString &v) override { calls << QStringLiteral("DoScreenMain ") + v; }
        void showDefaultScreen() override { calls << QStringLiteral("LoadDefault"); }
        QStringList calls;
    } view;
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
        EXPECT_FALSE(load(writeFile(home.filePath("cut.tsk"), good.left(keep))));
        ASSERT_EQ(prompt.messages().size(), 1u);
        const RecordedMessage m = prompt.messages()[0];
        EXPECT_TRUE(m.text.startsWith(QLatin1String("Error: "))) << m.text.toStdString();
        EXPECT_TRUE(m.text.endsWith(QLatin1String(" (LoadTheme)"))) << m.text.toStdString();
        EXPECT_EQ(m.icon, MsgIcon::Critical);
        expectUserDocument();
        EXPECT_EQ(workLeftovers(), QStringList());
    }
}

TEST_F(DamagedThemes, MembersInFoldersNamedLikeWorkingFilesLeaveNoTrace)
{
    const QByteArray good = goodTheme();
    for (const char *member : {"tdywater.gif\\readme.txt", "tdywater.001\\x"}) {
        SCOPED_TRACE(member);
        // The good theme's members plus one hostile member in a folder.
        CabinetReader reader(writeFile(home.filePath("good.tsk"), good));
        QTemporaryDir parts;
        ASSERT_TRUE(reader.extract(QString(), parts.path(), QString()));
        std::vector<CabMember> members;
        for (const QString &name : QDir(parts.path()).entryList(QDir::Files)) {
            QFile f(parts.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            members.push_back({name, f.readAll()});
        }
        members.push_back({member, "x"});
        const QString hostile = home.filePath("hostile.tsk");
        writeCabinet(hostile, members, false);

        EXPECT_TRUE(load(hostile));
        EXPECT_EQ(workLeftovers(), QStringList());
        ThemeContext c = ctx();
        EXPECT_TRUE(saveTheme(c, CompressionNone, home.filePath("after.tsk")));
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
        writeFile(dir.filePath("shared.cab"), storedCabinet(folder, sharedFarOffset(300, far)));
    CabinetReader reader(cab);
    ASSERT_TRUE(reader.extract(QString(), dir.filePath("out"), QString()));
    EXPECT_EQ(reader.decodedBytes(), folder.size());
    QFile last(dir.filePath("out/m299"));
    ASSERT_TRUE(last.open(QIODevice::ReadOnly));
    EXPECT_EQ(last.readAll(), QByteArray("the shared bytes"));
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
    const QString cab =
        writeFile(dir.filePath("damaged.cab"), storedCabinet(folder, members, true));
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
    ThemeContext c = ctx();
    EXPECT_TRUE(saveTheme(c, CompressionNone, home.filePath("after.tsk")));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(DamagedThemes, SavingOverALinkReplacesWhatItPointsTo)
{
    goodTheme();
    ASSERT_TRUE(QDir().mkpath(home.filePath("archive")));
    writeFile(home.filePath("archive/real.tsk"), "old");
    ASSERT_TRUE(QFile::link(home.filePath("archive/real.tsk"), home.filePath("link.tsk")));
    ThemeContext c = ctx();
    ASSERT_TRUE(saveTheme(c, CompressionHigh, home.filePath("link.tsk")));
    EXPECT_TRUE(QFileInfo(home.filePath("link.tsk")).isSymLink());
    QFile real(home.filePath("archive/real.tsk"));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    EXPECT_TRUE(real.readAll().startsWith("MSCF"));
}
