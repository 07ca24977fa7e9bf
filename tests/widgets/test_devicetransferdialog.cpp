// The theme transfer window over a scratch folder as the device: its
// controls bound to the model, and copies run through the worker.
// VARNO_SCREENSHOTS=folder keeps a picture of it for a look.
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/devicetransferdialog.h"

#include "widgettest.h"

#include <QGroupBox>
#include <QListWidget>
#include <QTest>

using namespace varno;
using namespace varno::test;

namespace {

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

}  // namespace

TEST(DeviceTransferDialogTest, ControlsFollowTheModelAndCopiesGoBothWays)
{
    Sandbox box;
    QDir().mkpath(box.file("card/My Documents"));
    writeFile(box.file("card/My Documents/Blue.tsk"), "blue");
    QDir().mkpath(box.file("tsk"));
    writeFile(box.file("tsk/Red.tsk"), "red");
    SettingsFile settings(box.file("settings"));
    storeDeviceChoice(settings, {box.file("card"), "wm5"});
    ScriptedPrompt prompt;
    DeviceTransferDialog dialog(prompt, settings, AppPaths::forEditor(), box.file("tsk/"), {});
    dialog.show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&dialog, &activate);

    auto *frame = child<QGroupBox>(dialog, "deviceFrame");
    auto *folders = child<QListWidget>(dialog, "deviceFolders");
    auto *deviceThemes = child<QListWidget>(dialog, "deviceThemes");
    auto *localThemes = child<QListWidget>(dialog, "localThemes");
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->title() == "PPC Location: \\"; }, 5000));
    EXPECT_EQ(texts(folders), QStringList{"My Documents"});
    EXPECT_EQ(texts(localThemes), QStringList{"Red.tsk"});

    folders->item(0)->setSelected(true);
    folders->itemClicked(folders->item(0));
    EXPECT_EQ(frame->title(), "PPC Location: \\My Documents");
    EXPECT_EQ(texts(folders), QStringList{".."});
    EXPECT_EQ(texts(deviceThemes), QStringList{"Blue.tsk"});

    localThemes->item(0)->setSelected(true);
    click(dialog, "transferButton2");
    EXPECT_EQ(readFile(box.file("card/My Documents/Red.tsk")), "red");
    EXPECT_EQ(texts(deviceThemes), (QStringList{"Blue.tsk", "Red.tsk"}));
    deviceThemes->item(0)->setSelected(true);
    click(dialog, "transferButton0");
    EXPECT_EQ(readFile(box.file("tsk/Blue.tsk")), "blue");
    EXPECT_EQ(texts(localThemes), (QStringList{"Blue.tsk", "Red.tsk"}));
    if (const QString shots = qEnvironmentVariable("VARNO_SCREENSHOTS"); !shots.isEmpty()) {
        QTest::qWait(1500);  // the folder tree fills in from a thread of its own
        dialog.grab().save(shots + QStringLiteral("/device-transfer.png"));
    }
    EXPECT_TRUE(prompt.messages().empty());
}
