// The theme browser window: shown on the themes folder, its thumbnails
// made while it stays responsive, and "Select" with the picked theme.
// VARNO_SCREENSHOTS=folder keeps a picture of it for a look.
#include "app/raster/pictureio.h"
#include "package/cabwriter.h"
#include "support/rasters.h"
#include "support/sandbox.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/themebrowserdialog.h"
#include "widgettest.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListView>

using namespace varno;
using namespace varno::test;

TEST(ThemeBrowserDialogTest, ShowsTheThemesFolderAndSelectsThePickedTheme)
{
    Sandbox box;
    AppSettings settings;
    settings.themesFolder = box.file(QStringLiteral("themes/"));
    QDir().mkpath(settings.themesFolder);
    for (int i = 0; i < 24; ++i) {
        const Raster today = filled(320, 294, colourOf(QColor::fromHsv(i * 15, 200, 230).rgb()));
        writeCabinet(settings.themesFolder + QStringLiteral("Theme %1.tsk").arg(i),
                     {{"tdywater.001", encodeJpeg(today, 10)}}, true);
    }
    ScriptedPrompt prompt;
    ThemeBrowserDialog dialog(prompt, settings, AppPaths::forEditor());
    dialog.show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&dialog, &activate);
    QElapsedTimer t;
    t.start();
    auto *count = child<QLabel>(dialog, "lblCount");
    // Those in view are made; the rest wait until they are scrolled to.
    while (dialog.form().model.madeCount() < 8 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(dialog.form().folderShown, settings.themesFolder);
    if (const QString shots = qEnvironmentVariable("VARNO_SCREENSHOTS"); !shots.isEmpty())
        dialog.grab().save(shots + QStringLiteral("/theme-browser.png"));
    EXPECT_TRUE(count->text().startsWith("24/")) << count->text().toStdString();
    EXPECT_GE(dialog.form().model.madeCount(), 8);

    auto *strip = child<QListView>(dialog, "LEADImgList1");
    strip->clicked(strip->model()->index(3, 0));
    EXPECT_FALSE(child<QLabel>(dialog, "LEAD1")->pixmap().isNull());
    click(dialog, "btnSelect");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenTheme(), settings.themesFolder + "Theme 11.tsk");
    EXPECT_TRUE(prompt.messages().empty());
}
