// The transfer window's logic against a simulated device: the mechanism a
// version chooses, the folder walk and its caches, sends that must not
// replace, fetches of odd files, and Send Current.
#include "base/messages.h"
#include "device/devicetransferform.h"
#include "device/simulateddevice.h"
#include "support/scriptedprompt.h"

using namespace varno;
using namespace varno::test;

namespace {

// Answers the input box from a script; nothing left means Cancel.
class AnsweringPrompt : public ScriptedPrompt {
public:
    std::deque<QString> texts;
    QStringList asked;

    QString askText(const QString &prompt, const QString &, const QString &current,
                    bool &cancelled) override
    {
        asked << prompt;
        cancelled = texts.empty();
        const QString answer = cancelled ? current : texts.front();
        if (!cancelled)
            texts.pop_front();
        return answer;
    }
};

class TransferTest : public ::testing::Test {
protected:
    // A device of `major` with the usual folders; the form connected to it.
    void open(const QString &version, int major)
    {
        device = std::make_unique<SimulatedDevice>(version, major);
        device->addFolder("\\My Documents");
        device->addFolder("\\My Documents\\Themes");
        device->addFolder("\\Storage Card", DeviceAttribute::Folder | DeviceAttribute::Temporary);
        device->addFolder("\\Windows");
        device->addFile("\\ktest.txt", "probe");
        QDir().mkpath(box.file("tsk"));
        form = std::make_unique<DeviceTransferForm>(prompt, *device, AppPaths::forEditor(),
                                                    box.file("tsk/"), current);
        form->load();
        if (form->activate())
            form->connectDevice();
    }
    void walkTo(const QString &folder)
    {
        form->openDeviceFolders({int(form->deviceFolders.items.indexOf(folder))});
    }

    Sandbox box;
    AnsweringPrompt prompt;
    CurrentTheme current;
    std::unique_ptr<SimulatedDevice> device;
    std::unique_ptr<DeviceTransferForm> form;
};

}  // namespace

// Version 5 (and an unknown 0) go through the remote-file layer, which
// counts a storage card's 272 as a folder; 1 to 4 through the control,
// which finds the card only by its name, and deletes its probe file. A
// version that cannot be read is a failed connection.
TEST_F(TransferTest, TheMajorVersionChoosesTheMechanism)
{
    const struct {
        const char *version;
        int major;
        bool remote;
        QStringList folders;  // none: not connected
    } cases[] = {
        {"5.1.1702 ", 5, true, {"My Documents", "Storage Card", "Windows"}},
        {"6.0.0 ", 0, true, {"My Documents", "Storage Card", "Windows"}},
        {"4.20.1081 ", 4, false, {"My Documents", "Windows", "Storage Card"}},
        {"", 0, true, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        prompt.clear();
        open(c.version, c.major);
        const bool connected = !c.folders.isEmpty();
        EXPECT_EQ(prompt.messages(), connected ? std::vector<RecordedMessage>{}
                                               : std::vector{okBox("Unable to connect to PPC!",
                                                                   "ERROR", MsgIcon::Critical)});
        EXPECT_FALSE(prompt.isBusy());
        EXPECT_EQ(form->transfersEnabled, connected);
        EXPECT_EQ(form->deviceFolders.items, c.folders);
        if (!connected)
            continue;
        EXPECT_EQ(form->remoteMode, c.remote);
        EXPECT_EQ(form->deviceCaption, "PPC Location: \\");
        EXPECT_EQ(device->file("\\ktest.txt").has_value(), c.remote);
        EXPECT_FALSE(form->activate());  // one connection per opening
    }
}

TEST_F(TransferTest, ControlModeListsACachedFolderWithoutAskingTheDevice)
{
    open("4.20.1081 ", 4);
    walkTo("My Documents");
    EXPECT_EQ(form->deviceCaption, "PPC Location: \\My Documents");
    device->addFolder("\\My Documents\\Later");
    const int asked = device->calls;
    form->listDeviceFolders();
    EXPECT_EQ(device->calls, asked);
    EXPECT_EQ(form->deviceFolders.items, (QStringList{"..", "Themes"}));
    // A folder that is not one of the cached ones is asked for afresh.
    walkTo("Themes");
    walkTo("..");
    EXPECT_EQ(form->deviceFolder, "\\My Documents\\");
    EXPECT_GT(device->calls, asked);
}

// The walk takes the picked entries in order and stops at "Windows".
TEST_F(TransferTest, WindowsStopsTheWalkWithAWarning)
{
    open("5.1.1702 ", 5);
    form->openDeviceFolders({0, 2});  // "My Documents", then "Windows"
    EXPECT_EQ(form->deviceFolder, "\\My Documents\\");
    const RecordedMessage warning =
        okBox("This directory should not be used for storage of Themes!\r\nIf you want to use "
              "this directory you will have to use some other means.",
              "Velmora", MsgIcon::Exclamation);
    EXPECT_EQ(prompt.messages(), std::vector{warning});
}

TEST_F(TransferTest, SendingLeavesAThemeAlreadyOnTheDeviceUntouched)
{
    open("5.1.1702 ", 5);
    device->addFile("\\My Documents\\Blue.tsk", "the device's own");
    writeFile(box.file("tsk/Blue.tsk"), "newer");
    writeFile(box.file("tsk/Red.tsk"), QByteArray(4097, 'r'));
    form->load();
    walkTo("My Documents");
    form->localThemes.pick({"Blue.tsk", "Red.tsk"});
    form->sendThemes();
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("\\My Documents\\Blue.tsk already exists. Operation Cancelled.",
                                "Varno", MsgIcon::None)});
    EXPECT_EQ(device->file("\\My Documents\\Blue.tsk"), "the device's own");
    EXPECT_EQ(device->file("\\My Documents\\Red.tsk"), QByteArray(4097, 'r'));
    EXPECT_EQ(form->deviceThemes.items, (QStringList{"Blue.tsk", "Red.tsk"}));
}

// The device refusing a new file, in each mechanism's words; the control
// stops at the first failure.
TEST_F(TransferTest, ARefusedSendIsToldInTheMechanismsWords)
{
    const struct {
        int error;
        const char *remote;
        const char *control;
    } cases[] = {
        {32,
         "File access error. It is possible that Arcpad in your mobile device is still "
         "running.\r\nPlease close the Arcpad in the mobile device and try again.",
         "Error Sending Theme: The process cannot access the file because it is being used by "
         "another process."},
        {5, "An unknown error occured.", "Error Sending Theme: Access is denied."},
    };
    for (const auto &c : cases) {
        for (const bool remote : {true, false}) {
            SCOPED_TRACE(std::to_string(c.error) + (remote ? " remote" : " control"));
            prompt.clear();
            open(remote ? "5.1.1702 " : "4.20.1081 ", remote ? 5 : 4);
            writeFile(box.file("tsk/A.tsk"), "a");
            writeFile(box.file("tsk/B.tsk"), "b");
            form->load();
            form->localThemes.pick({"A.tsk", "B.tsk"});
            device->failNextOpen(c.error);
            form->sendThemes();
            EXPECT_EQ(prompt.messages(),
                      std::vector{remote ? okBox(c.remote, "Varno", MsgIcon::None)
                                         : okBox(c.control, "Velmora")});
            EXPECT_EQ(device->file("\\A.tsk"), std::nullopt);
            EXPECT_EQ(device->file("\\B.tsk").has_value(), remote);
        }
    }
}

// An empty theme comes over empty; a name beyond Latin-1 is listed short
// and so is not found.
TEST_F(TransferTest, FetchesAnEmptyThemeAndTellsOfAMissingOne)
{
    open("5.1.1702 ", 5);
    device->addFile(QString::fromUtf8("\\Blue\u0416.tsk"), "blue");
    device->addFile("\\Empty.tsk", "");
    form->listDeviceThemes();
    EXPECT_EQ(form->deviceThemes.items, (QStringList{"Blue.tsk", "Empty.tsk"}));
    form->deviceThemes.pick({"Blue.tsk", "Empty.tsk"});
    form->fetchThemes();
    EXPECT_EQ(prompt.messages(),
              std::vector{okBox("\\Blue.tsk - Device File Does Not Exist Or Is Empty (0 Bytes)!",
                                "Data Transfer", MsgIcon::Exclamation)});
    EXPECT_EQ(form->localThemes.items, QStringList{"Empty.tsk"});
    EXPECT_TRUE(QFileInfo(box.file("tsk/Empty.tsk")).size() == 0);
}

TEST_F(TransferTest, SendCurrentNamesSavesAndSendsTheTheme)
{
    QString name, saved;
    current = {[&] { return name; }, [&](const QString &n) { name = n; },
               [&](const QString &path) {
                   saved = path;
                   writeFile(path, "saved");
                   return true;
               }};
    open("5.1.1702 ", 5);
    form->sendCurrent();  // cancelled
    prompt.texts = {"   ", " Sky "};
    form->sendCurrent();  // blank
    EXPECT_EQ(saved, QString());
    form->sendCurrent();
    EXPECT_EQ(prompt.asked, QStringList(3, "Please give Theme a Name!"));
    EXPECT_EQ(name, " Sky ");
    EXPECT_EQ(saved, box.file("tsk/Sky.tsk"));
    EXPECT_EQ(device->file("\\Sky.tsk"), "saved");

    // A name that would leave the themes folder is refused before saving.
    name = "../Sky";
    saved.clear();
    form->sendCurrent();
    EXPECT_EQ(saved, QString());
    const MessageText refusal =
        errorBox(runtimeError(Err::BadFileName), "frmFileManager", "Sub", "SendCurrent");
    EXPECT_EQ(prompt.messages(), std::vector{okBox(refusal.text, refusal.title)});
}

// The trash takes what it can; the rest is deleted only when the user says so.
TEST_F(TransferTest, DeletingOnThePcGoesToTheTrash)
{
    open("5.1.1702 ", 5);
    for (const char *name : {"A.tsk", "B.tsk", "C.tsk"})
        writeFile(box.file("tsk/") + name, name);
    form->moveToTrash = [&](const QString &path) {
        return !path.endsWith("B.tsk") && QFile::rename(path, box.file("trashed.tsk"));
    };
    form->load();
    form->localThemes.pick({"A.tsk", "B.tsk"});
    prompt.answerQuestion(MsgResult::Yes);
    form->deleteLocalThemes();
    EXPECT_EQ(readFile(box.file("trashed.tsk")), "A.tsk");
    EXPECT_EQ(prompt.messages(), (std::vector<RecordedMessage>{
                                     {"These themes cannot be moved to the trash:\r\n" +
                                          box.file("tsk/B.tsk") + "\r\nDelete them for good?",
                                      MsgIcon::Question, "Velmora", MsgButtons::YesNo}}));
    EXPECT_EQ(form->localThemes.items, QStringList{"C.tsk"});
}
