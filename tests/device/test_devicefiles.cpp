// The device-file layer: listed names, block copies and their clean-up,
// and a folder standing in for the device, which nothing may lead out of.
#include "device/folderdevice.h"
#include "device/simulateddevice.h"
#include "support/sandbox.h"

#include <QDirIterator>

using namespace varno;
using namespace varno::test;

namespace {

// Every file under `folder` with its bytes, to show nothing changed.
std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = readFile(path);
    }
    return files;
}

// The names a find on `pattern` walks through.
QStringList found(DeviceFiles &device, const QString &pattern)
{
    QStringList names;
    DeviceFindRecord r;
    const int handle = device.findFirst(pattern, r);
    for (bool more = handle > 0; more; more = device.findNext(handle, r))
        names << entryName(r);
    return names;
}

}  // namespace

TEST(DeviceNames, KeepLatin1CodeUnitsOnly)
{
    const struct {
        std::u16string raw;
        const char *listed;
    } cases[] = {
        {u"Blue.tsk", "Blue.tsk"},
        {u"Bl\u0416ue\u00e9.tsk", "Blue\u00e9.tsk"},  // Cyrillic dropped, Latin-1 kept
        {u"  Sky.tsk \0junk", "Sky.tsk"},             // cut at NUL, then trimmed
        {u"\U0001F600.tsk", ".tsk"},                  // both surrogate halves dropped
    };
    for (const auto &c : cases)
        EXPECT_EQ(entryName({0, 0, c.raw}), QString::fromUtf8(c.listed));
}

TEST(DeviceCopies, SendWritesBlocksOf2048TheLastCarryingTheRest)
{
    for (const auto &[size, blocks] :
         {std::pair{4096, std::vector<qint64>{2048, 2048}}, {4097, {2048, 2048, 1}}, {0, {}}}) {
        SCOPED_TRACE(size);
        Sandbox box;
        SimulatedDevice device;
        const QByteArray theme(size, 'x');
        writeFile(box.file("Blue.tsk"), theme);
        EXPECT_EQ(sendFile(device, box.file("Blue.tsk"), "\\Blue.tsk").result, CopyOutcome::Done);
        EXPECT_EQ(device.writes, blocks);
        EXPECT_EQ(device.file("\\Blue.tsk"), theme);
    }
}

// A copy that fails or is stopped leaves both sides as they were: no part
// file, and a theme already on the PC keeps its bytes.
TEST(DeviceCopies, ACopyThatDoesNotFinishLeavesNothingBehind)
{
    for (const auto result :
         {CopyOutcome::DeviceWriteFailed, CopyOutcome::DeviceReadFailed, CopyOutcome::Cancelled}) {
        SCOPED_TRACE(int(result));
        Sandbox box;
        QDir().mkpath(box.file("pc"));
        writeFile(box.file("pc/Blue.tsk"), QByteArray(5000, 'o'));
        const auto before = snapshot(box.file("pc"));
        SimulatedDevice device;
        device.addFile("\\Old.tsk", QByteArray(6000, 'n'));
        device.failWritesAfter(4096, DeviceError::DiskFull);
        if (result == CopyOutcome::DeviceReadFailed)
            device.failReadsAfter(4096);
        const CopyOutcome out =
            result == CopyOutcome::DeviceWriteFailed
                ? sendFile(device, box.file("pc/Blue.tsk"), "\\Blue.tsk")
                : fetchFile(device, "\\Old.tsk", box.file("pc/Blue.tsk"), [&](qint64 bytes) {
                      return result != CopyOutcome::Cancelled || bytes < 2048;
                  });
        EXPECT_EQ(out.result, result);
        if (result == CopyOutcome::DeviceWriteFailed) {
            EXPECT_EQ(out.deviceError, DeviceError::DiskFull);
        }
        EXPECT_EQ(device.file("\\Blue.tsk"), std::nullopt);
        EXPECT_EQ(snapshot(box.file("pc")), before);
    }
}

// Names inside match whatever their case; each way out fails, and the
// folder outside is as it was.
TEST(FolderDevice, NoPathLeadsOutOfTheFolder)
{
    Sandbox box;
    QDir().mkpath(box.file("card/My Documents"));
    QDir().mkpath(box.file("outside"));
    writeFile(box.file("outside/secret.tsk"), "secret");
    FolderDevice device(box.file("card"), "ppc2003");
    ASSERT_TRUE(QFile::link(box.file("outside"), box.file("card/Linked")));
    ASSERT_TRUE(QFile::link(box.file("outside/secret.tsk"), box.file("card/secret.tsk")));
    ASSERT_TRUE(QFile::link(box.file("outside/new.tsk"), box.file("card/dangling.tsk")));
    writeFile(box.file("Red.tsk"), "red");
    const auto before = snapshot(box.file("outside"));
    ASSERT_TRUE(device.startSession());
    EXPECT_EQ(device.fileAttributes("\\MY DOCUMENTS"), DeviceAttribute::Folder);  // any case
    for (const char *path :
         {"\\..\\outside\\secret.tsk", "\\My Documents\\..\\..\\outside\\secret.tsk",
          "\\Linked\\secret.tsk", "\\secret.tsk", "\\dangling.tsk", "\\x/../../outside/secret.tsk",
          "/outside/secret.tsk", "..\\outside\\secret.tsk", "outside\\secret.tsk"}) {
        SCOPED_TRACE(path);
        const QString p = QString::fromLatin1(path);
        EXPECT_EQ(device.openFile(p, DeviceAccess::Read, false), -1);
        EXPECT_NE(sendFile(device, box.file("Red.tsk"), p).result, CopyOutcome::Done);
        EXPECT_FALSE(device.deleteFile(p));
        EXPECT_EQ(device.fileAttributes(p), DeviceAttribute::Invalid);
    }
    EXPECT_EQ(found(device, "\\Linked\\*"), QStringList());
    EXPECT_EQ(found(device, "\\..\\*"), QStringList());
    // The links that lead out are not listed at all.
    EXPECT_EQ(found(device, "\\*"), QStringList{"My Documents"});
    EXPECT_EQ(snapshot(box.file("outside")), before);
    EXPECT_FALSE(QFileInfo::exists(box.file("outside/new.tsk")));
}
