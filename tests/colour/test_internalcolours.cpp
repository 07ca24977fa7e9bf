// The internal colours dialog: its preview, swatches and buttons.
#include "colour/colortable.h"
#include "colour/internalcoloursmodel.h"
#include "support/scriptedprompt.h"

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

class InternalColours : public ::testing::Test {
protected:
    void SetUp() override
    {
        colours.colors = defaultThemeColors();
        blank.fill(rgb(250, 250, 250));
        // A dots picture: red dots on white with one grey pixel that stays.
        dots.fill(rgb(255, 255, 255));
        dots.selectRect(1, 1, 3, 3);
        dots.fill(rgb(255, 0, 0));
        dots.clearSelection();
        dots.setPixel(10, 10, rgb(7, 7, 7));
    }
    ScriptedPrompt prompt;
    ColourState colours;
    Raster blank{240, 320}, dots{35, 35};
    InternalColoursModel dialog{prompt, colours, blank, dots};
};

}  // namespace

TEST_F(InternalColours, PreviewShowsBothRampsAndTheDots)
{
    colours.colors[LineALeft] = rgb(0, 0, 0);
    colours.colors[LineARight] = rgb(240, 0, 0);
    colours.colors[LineBLeft] = rgb(0, 240, 0);
    colours.colors[LineBRight] = rgb(0, 0, 0);
    dialog.load();
    const Raster &p = dialog.preview;
    // Line A every fourth row from 51, two rows high; line B from 49.
    EXPECT_EQ(p.pixel(17, 51), rgb(17, 0, 0));
    EXPECT_EQ(p.pixel(17, 49), rgb(0, 223, 0));
    // The dots at (100, 100): red painted, white left out, the rest kept.
    EXPECT_EQ(p.pixel(102, 102), rgb(0, 0, 247));
    EXPECT_EQ(p.pixel(110, 110), rgb(7, 7, 7));
    // White in the dots picture lets the ramps through (row 130 is line B).
    EXPECT_EQ(p.pixel(120, 130), rgb(0, 120, 0));
}

TEST_F(InternalColours, CancelRestoresAndResetThenCancelToo)
{
    dialog.load();
    prompt.answerColor(rgb(1, 1, 1));
    dialog.chooseSwatchColour(InternalColoursModel::LineALeftSwatch);
    EXPECT_EQ(colours.colors[LineALeft], rgb(1, 1, 1));
    EXPECT_EQ(prompt.calls()[0].initialColour, uint32_t(rgb(255, 255, 255)));
    EXPECT_TRUE(dialog.pressButton(InternalColoursModel::CancelButton));
    EXPECT_EQ(colours.colors, defaultThemeColors());

    colours.colors[LineARight] = rgb(9, 9, 9);
    InternalColoursModel again(prompt, colours, blank, dots);
    again.load();
    EXPECT_FALSE(again.pressButton(InternalColoursModel::ResetButton));
    EXPECT_EQ(colours.colors[LineARight], rgb(150, 150, 255));
    again.closeFromFrame();
    EXPECT_EQ(colours.colors[LineARight], rgb(9, 9, 9));
}

TEST_F(InternalColours, WhiteDotsAreKeptJustOffWhiteAndCancelChangesNothing)
{
    dialog.load();
    prompt.answerColor(rgb(255, 255, 255));
    dialog.chooseSwatchColour(InternalColoursModel::DotsSwatch);
    EXPECT_EQ(colours.colors[DotsColor], rgb(254, 255, 255));
    const ThemeColors before = colours.colors;
    prompt.cancelColor();
    dialog.chooseSwatchColour(InternalColoursModel::LineBLeftSwatch);
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(colours.colors, before);
}
