// The dialog widgets: each control bound to its model field, driven without
// a modal loop; and the pure parts of the Qt prompt.
#include "colour/colortable.h"
#include "colour/palettes.h"
#include "support/scriptedprompt.h"
#include "ui/widgets/huesdialog_p.h"
#include "ui/widgets/internalcolorsdialog_p.h"
#include "ui/widgets/qtprompt.h"
#include "ui/widgets/qtprompt_p.h"
#include "ui/smalldialogs.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/smalldialogs_p.h"
#include "widgettest.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

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

// The swatches and their slots are the model's; here one swatch shows and
// edits its slot, and the preview follows.
TEST(InternalColorsDialogTest, ASwatchEditsItsSlotAndThePreviewFollows)
{
    ScriptedPrompt prompt;
    ColourState colours;
    colours.colors = defaultThemeColors();
    Raster blank(240, 320), dots(35, 35);
    dots.fill(rgb(255, 0, 0));
    InternalColorsDialog dialog(prompt, colours, blank, dots);
    EXPECT_EQ(swatchColour(dialog, "oPicDots"), colours.colors[DotsColor]);
    prompt.answerColor(rgb(10, 20, 30));
    click(dialog, "oPicDots");
    EXPECT_EQ(colours.colors[DotsColor], rgb(10, 20, 30));
    EXPECT_EQ(shownPixel(child<QLabel>(dialog, "LEAD1"), 110, 110), rgb(10, 20, 30));
}

TEST(HuesDialogTest, StripsChooseOnPressAndDragNeverOnHoverAndOnlySaveStores)
{
    const Palettes palettes = buildPalettes();
    ThemeColors colours;
    colours.baseHueIndex = 300;
    colours.baseHueColor = rgb(200, 10, 10);
    {
        HuesDialog dialog(palettes, colours);
        ASSERT_TRUE(dialog.loaded());
        auto *heading = child<QLabel>(dialog, "pbHeading");
        auto *hues = child<QWidget>(dialog, "pbColors");
        EXPECT_EQ(shownPixel(heading, 0, 0), rgb(200, 10, 10));
        moveOver(hues, 0, 29);
        EXPECT_EQ(shownPixel(heading, 0, 0), rgb(200, 10, 10));
        mouseAt(hues, QEvent::MouseButtonPress, QPointF(0, 29), Qt::LeftButton);
        EXPECT_EQ(shownPixel(heading, 256, 25), paletteColor(palettes, 257));
        click(dialog, "btnCancel");
        EXPECT_EQ(colours.baseHueIndex, 300);
    }
    HuesDialog dialog(palettes, colours);
    QStringList captions;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        if (!label->text().isEmpty())
            captions << label->text();
    EXPECT_EQ(captions, (QStringList{"Selected:", "Hues", "Grays"}));
    auto *greys = child<QWidget>(dialog, "pbGrays");
    mouseAt(greys, QEvent::MouseButtonPress, QPointF(10, 0), Qt::LeftButton);
    mouseAt(greys, QEvent::MouseMove, QPointF(255, 0), Qt::LeftButton);
    // A drag past the strip's end is not a choice, and once the button is
    // up the way down to Save is none either.
    mouseAt(greys, QEvent::MouseMove, QPointF(256, 0), Qt::LeftButton);
    mouseAt(greys, QEvent::MouseButtonRelease, QPointF(256, 0), Qt::LeftButton);
    moveOver(greys, 3, 20);
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

// The manual opens at its welcome page; links and Back walk its pages.
TEST(HelpWindowTest, OpensTheManualAndWalksItsPages)
{
    QWidget parent;
    QWidget *window = showHelpWindow(&parent, manualFolder(), QStringLiteral("welcome.htm"));
    auto *pages = window->findChild<QTextBrowser *>(QStringLiteral("pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Varno Help"));
    EXPECT_TRUE(pages->toPlainText().contains(QStringLiteral("Getting started")));
    pages->setSource(QUrl(QStringLiteral("device.htm")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Device transfer - Varno Help"));
    EXPECT_EQ(showHelpWindow(&parent, manualFolder(), QStringLiteral("colors.htm")), window);
    window->findChild<QPushButton *>(QStringLiteral("back"))->click();
    EXPECT_TRUE(pages->source().toString().endsWith(QStringLiteral("device.htm")));
    if (const QString shots = qEnvironmentVariable("VARNO_SCREENSHOTS"); !shots.isEmpty())
        window->grab().save(shots + QStringLiteral("/help-window.png"));
}
