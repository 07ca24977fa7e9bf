// The "device" command against a real scratch folder as the device.
#include "cli/commandargs.h"
#include "cli/devicecommand.h"
#include "support/sandbox.h"

using namespace varno;
using namespace varno::test;

namespace {

struct Ran {
    int code;
    QString out, err;
};

class DeviceCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(box.file("card/My Documents"));
        QDir().mkpath(box.file("card/Windows"));
        writeFile(box.file("Blue.tsk"), "blue");
        writeFile(box.file("Red.tsk"), QByteArray(5000, 'r'));
    }
    Ran device(const QStringList &args)
    {
        Ran r;
        QTextStream out(&r.out), err(&r.err);
        r.code =
            deviceCommand(QStringList{"device", "--folder", box.file("card")} + args, out, err);
        return r;
    }
    Sandbox box;
};

}  // namespace

TEST_F(DeviceCommandTest, SendsListsFetchesAndDeletes)
{
    const QString docs = "\\My Documents\\";
    Ran r = device({"send", box.file("Blue.tsk"), box.file("Red.tsk"), "--to", docs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(device({"list"}).out, "My Documents\\\nWindows\\\n");
    EXPECT_EQ(device({"--os", "ppc2003", "list", "\\my documents"}).out, "Blue.tsk\nRed.tsk\n");

    // Nothing on the device is replaced.
    writeFile(box.file("Blue.tsk"), "newer");
    r = device({"send", box.file("Blue.tsk"), "--to", docs});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "varno: \\My Documents\\Blue.tsk already exists. Operation Cancelled.\n");
    EXPECT_EQ(readFile(box.file("card/My Documents/Blue.tsk")), "blue");

    r = device({"fetch", docs + "Red.tsk", docs + "Gone.tsk", "-d", box.file("got")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "varno: \\My Documents\\Gone.tsk - Device File Does Not Exist Or Is Empty "
                     "(0 Bytes)!\n");
    EXPECT_EQ(QDir(box.file("got")).entryList(QDir::Files), QStringList{"Red.tsk"});
    EXPECT_EQ(readFile(box.file("got/Red.tsk")), QByteArray(5000, 'r'));

    r = device({"delete", docs + "red.tsk", docs + "Gone.tsk"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "varno: \\My Documents\\Gone.tsk: no such theme on the device\n");
    EXPECT_EQ(QDir(box.file("card/My Documents")).entryList(QDir::Files), QStringList{"Blue.tsk"});
}

TEST_F(DeviceCommandTest, RefusesTheWindowsFolderAndAMissingDevice)
{
    const QString refusal = "varno: This directory should not be used for storage of Themes! If "
                            "you want to use this directory you will have to use some other "
                            "means.\n";
    for (const QStringList &args :
         {QStringList{"list", "\\Windows\\"},
          QStringList{"send", box.file("Blue.tsk"), "--to", "\\WINDOWS"}}) {
        const Ran r = device(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, refusal);
    }
    EXPECT_TRUE(QDir(box.file("card/Windows")).isEmpty());

    QDir(box.file("card")).removeRecursively();
    const Ran r = device({"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "varno: Unable to connect to PPC!\n");
}

TEST_F(DeviceCommandTest, UsageFaultsAreUsageErrors)
{
    for (const QStringList &args :
         {QStringList{"--os", "wm6", "list"}, QStringList{"copy"}, QStringList{},
          QStringList{"send"}, QStringList{"send", "a.tsk", "-d", "x"},
          QStringList{"list", "My Documents"}, QStringList{"fetch", "\\My Documents\\"},
          QStringList{"delete", "Blue.tsk"}, QStringList{"list", "a", "b"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_THROW(device(args), UsageError);
    }
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_THROW(deviceCommand({"device", "list"}, o, e), UsageError);
}
