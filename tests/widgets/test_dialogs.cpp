// The dialog widgets: each control bound to its model field, driven without
// a modal loop; and the pure parts of the Qt prompt.
#include "colour/colortable.h"
#include "colour/palettes.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/huesdialog_p.h"
#include "ui/widgets/internalcolorsdialog_p.h"
#include "ui/widgets/qtprompt.h"
#include "ui/widgets/qtprompt_p.h"
#include "ui/widgets/settingsdialog_p.h"
#include "ui/widgets/smalldialogs_p.h"
#include "widgettest.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varno;
using namespace varno::test;

namespace {

Colour shownPixel(const QLabel *label, int x, int y)
{
    return colourOf(label->pixmap().toImage().pixel(x, y));
}

void moveOver(QWidget *widget, int x, int y)
{
    mouseAt(widget, QEvent::MouseMove, QPointF(x, y));
}

}  // namespace

TEST(SettingsDialogTest, NamesShowAndEachOptionStoresItsValue)
{
    QTemporaryDir dir;
    AppPaths paths;
    paths.appFolder = dir.path();
    SettingsFile file(dir.filePath("settings.reg"));
    SettingsStore store(file, paths, settingsSectionName());
    ScriptedPrompt prompt;
    AppSettings s;
    s.name1 = "Ann";
    s.name2 = "b.example";
    s.name3 = "c.example";
    const struct {
        const char *option;
        QString AppSettings::*field;
        const char *value;
    } cases[] = {{"radTodayText3", &AppSettings::todayText, "none"},
                 {"radHeadings2", &AppSettings::headings, "opposite"},
                 {"radDirectories1", &AppSettings::paths, "yes"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.option);
        s.todayText = "notm";
        s.headings = "same";
        s.paths = "no";
        SettingsDialog dialog(prompt, s, store);
        EXPECT_EQ(child<QLineEdit>(dialog, "txtName2")->text(), QStringLiteral("b.example"));
        EXPECT_EQ(child<QButtonGroup>(dialog, "radTodayText")->checkedId(), 1);
        EXPECT_TRUE(child<QRadioButton>(dialog, "radHeadings1")->isChecked());
        click(dialog, c.option);
        click(dialog, "btnButton1");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(s.*c.field, QString::fromLatin1(c.value));
    }
}

TEST(InternalColorsDialogTest, EachSwatchEditsItsSlotAndThePreviewFollows)
{
    ScriptedPrompt prompt;
    ColourState colours;
    Raster blank(240, 320), dots(35, 35);
    blank.fill(rgb(250, 250, 250));
    dots.fill(rgb(255, 0, 0));
    const std::pair<const char *, Slot> cases[] = {{"oPicLineBLeft", LineBLeft},
                                                   {"oPicDots", DotsColor}};
    for (const auto &[swatch, slot] : cases) {
        SCOPED_TRACE(swatch);
        colours.colors = defaultThemeColors();
        InternalColorsDialog dialog(prompt, colours, blank, dots);
        EXPECT_EQ(swatchColour(dialog, swatch), colours.colors[slot]);
        prompt.answerColor(rgb(10, 20, 30));
        click(dialog, swatch);
        EXPECT_EQ(colours.colors[slot], rgb(10, 20, 30));
    }
    // The preview shows the dots in the last colour chosen.
    InternalColorsDialog dialog(prompt, colours, blank, dots);
    EXPECT_EQ(shownPixel(child<QLabel>(dialog, "LEAD1"), 110, 110), rgb(10, 20, 30));
}

TEST(HuesDialogTest, StripsFollowThePointerAndOnlySaveStores)
{
    const Palettes palettes = buildPalettes();
    ThemeColors colours;
    colours.baseHueIndex = 300;
    colours.baseHueColor = rgb(200, 10, 10);
    {
        HuesDialog dialog(palettes, colours);
        ASSERT_TRUE(dialog.loaded());
        auto *heading = child<QLabel>(dialog, "pbHeading");
        EXPECT_EQ(shownPixel(heading, 0, 0), rgb(200, 10, 10));
        moveOver(child<QWidget>(dialog, "pbColors"), 0, 29);
        EXPECT_EQ(shownPixel(heading, 256, 25), paletteColor(palettes, 257));
        click(dialog, "btnCancel");
        EXPECT_EQ(colours.baseHueIndex, 300);
    }
    HuesDialog dialog(palettes, colours);
    moveOver(child<QWidget>(dialog, "pbGrays"), 255, 0);
    // A move outside the strip (a held button drags on) is not a choice.
    moveOver(child<QWidget>(dialog, "pbGrays"), 256, 0);
    click(dialog, "btnSave");
    EXPECT_EQ(colours.baseHueIndex, 255);
    EXPECT_EQ(colours.baseHueColor, paletteColor(palettes, 256));
}

TEST(SaveThemeDialogTest, AnswersTheSelectedCompression)
{
    const struct {
        const char *option, *button, *answer;
    } cases[] = {{nullptr, "btnSave", "HIGH"},
                 {"Option1", "btnSave", "MED"},
                 {"Option2", "btnCancel", "CANCEL"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        SaveThemeDialog dialog;
        if (c.option)
            click(dialog, c.option);
        click(dialog, c.button);
        EXPECT_EQ(dialog.choice(), QString::fromLatin1(c.answer));
    }
}

TEST(AboutDialogTest, ShowsTheModelAndClosesOnAClick)
{
    AboutBox about;
    about.load();
    AboutDialog dialog;
    EXPECT_EQ(child<QLabel>(dialog, "lblVersion")->text(), about.versionText);
    QLabel *label = child<QLabel>(dialog, "Label2");
    EXPECT_EQ(label->text(), about.siteAddress);
    mouseAt(label, QEvent::MouseButtonRelease, QPointF(1, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(InputBoxDialogTest, OkHandsOverTheTextCancelKeepsTheCurrent)
{
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        InputBoxDialog dialog("Folder name:", "Varno", "current");
        auto *text = child<QLineEdit>(dialog, "txtInput");
        EXPECT_EQ(text->text(), QStringLiteral("current"));
        text->setText(QStringLiteral("New Folder"));
        click(dialog, ok ? "btnOk" : "btnCancel");
        EXPECT_EQ(dialog.model().result, ok ? QStringLiteral("New Folder") : "current");
    }
}

TEST(QtPromptParts, FileFiltersInQtForm)
{
    const struct {
        const char *given, *expected;
    } cases[] = {
        {"Description (*.a;*.b)|*.a;*.b|Other|*.c", "Description (*.a *.b);;Other (*.c)"},
        {"All Files|*.*|JPEG|*.jpg", "All Files (*);;JPEG (*.jpg)"},
        {"Anything", "Anything (*)"},
        {"Trailing|*.x|", "Trailing (*.x)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromLatin1(c.given)), QString::fromLatin1(c.expected));
}

TEST(QtPromptParts, FileDialogStartsInTheRightPlace)
{
    const struct {
        const char *folder, *name, *expected;
    } cases[] = {{"/x/tsk/", "Blue Wave", "/x/tsk/Blue Wave"},
                 {"", "/x/tsk/*.tsk", "/x/tsk/"},
                 {"/x/images/", "/y/z.png", "/y/z.png"}};
    for (const auto &c : cases) {
        FileDialogRequest request;
        request.initialFolder = QString::fromLatin1(c.folder);
        request.fileName = QString::fromLatin1(c.name);
        EXPECT_EQ(fileDialogStart(request), QString::fromLatin1(c.expected)) << c.name;
    }
}
