// The publishing window: each control bound to its field of the form, and
// the panels shown by the window's height. VARNO_SCREENSHOTS=folder keeps a
// picture of it for a look.
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/publishdialog.h"
#include "widgettest.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using namespace varno;
using namespace varno::test;

TEST(PublishDialogTest, ControlsAreBoundToTheFormAndTheHeightRevealsThePanels)
{
    Sandbox box;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    const AppPaths paths = AppPaths::forEditor();
    SettingsFile file(paths.settingsFile);
    AppSettings settings;
    ScriptedPrompt prompt;
    PublishDialog dialog(prompt, settings, file, paths, {});
    PublishForm &form = dialog.form();
    dialog.show();
    QCoreApplication::processEvents();

    const std::pair<const char *, QString PublishForm::*> fields[] = {
        {"themeNameEdit", &PublishForm::themeName}, {"descriptionEdit", &PublishForm::description},
        {"commentEdit", &PublishForm::comment},     {"loginEdit", &PublishForm::login},
        {"passwordEdit", &PublishForm::password},   {"handleEdit", &PublishForm::handle},
        {"emailEdit", &PublishForm::email}};
    for (const auto &[name, field] : fields) {
        QTest::keyClicks(child<QLineEdit>(dialog, name), name);
        EXPECT_EQ(form.*field, name);
    }
    form.categories = QStringList{"Games", "Nature"};
    form.description = "Clouds over the bay";
    emit form.changed();
    EXPECT_EQ(child<QLineEdit>(dialog, "descriptionEdit")->text(), "Clouds over the bay");
    auto *list = child<QListWidget>(dialog, "categoryList");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    EXPECT_EQ(form.category, 1);
    child<QRadioButton>(dialog, "platform5")->click();
    EXPECT_EQ(form.platform, 5);

    const int upload = dialog.height();
    click(dialog, "loginInfoButton");
    EXPECT_GT(dialog.height(), upload);
    click(dialog, "loginInfoButton");
    click(dialog, "membershipButton");
    EXPECT_EQ(dialog.height(), MembershipHeight / 15);
    if (const QString shots = qEnvironmentVariable("VARNO_SCREENSHOTS"); !shots.isEmpty())
        dialog.grab().save(shots + QStringLiteral("/publish-window.png"));
    // Every panel fits the tallest window.
    EXPECT_LE(child<QWidget>(dialog, "signupFrame")->geometry().bottom(), dialog.height());
}
