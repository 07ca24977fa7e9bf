// The internal colours dialog: its preview, swatches and buttons.
#include "colour/colortable.h"
#include "colour/frminternalcolors.h"
#include "support/scriptedprompt.h"

#include <gtest/gtest.h>

using namespace varno;
using varno::test::ScriptedPrompt;

namespace {

class InternalColours : public ::testing::Test {
protected:
    void SetUp() override
    {
        colours.Colors = DefaultThemeColors();
        blank.fill(RGB(250, 250, 250));
        // A dots picture: red dots on white with one grey pixel that stays.
        dots.fill(RGB(255, 255, 255));
        dots.selectRect(1, 1, 3, 3);
        dots.fill(RGB(255, 0, 0));
        dots.clearSelection();
        dots.setPixel(10, 10, RGB(7, 7, 7));
    }
    ScriptedPrompt prompt;
    ColourState colours;
    Raster blank{240, 320}, dots{35, 35};
    frmInternalColors dialog{prompt, colours, blank, dots};
};

}  // namespace

TEST_F(InternalColours, PreviewShowsBothRampsAndTheDots)
{
    colours.Colors[LineALeft] = RGB(0, 0, 0);
    colours.Colors[LineARight] = RGB(240, 0, 0);
    colours.Colors[LineBLeft] = RGB(0, 240, 0);
    colours.Colors[LineBRight] = RGB(0, 0, 0);
    dialog.Form_Load();
    const Raster &p = dialog.LEAD1;
    // Line A every fourth row from 51, two rows high; line B from 49.
    EXPECT_EQ(p.pixel(17, 51), RGB(17, 0, 0));
    EXPECT_EQ(p.pixel(17, 52), RGB(17, 0, 0));
    EXPECT_EQ(p.pixel(17, 291), RGB(17, 0, 0));
    EXPECT_EQ(p.pixel(17, 49), RGB(0, 223, 0));
    EXPECT_EQ(p.pixel(17, 293), RGB(0, 223, 0));
    EXPECT_EQ(p.pixel(17, 48), RGB(250, 250, 250));
    EXPECT_EQ(p.pixel(17, 295), RGB(250, 250, 250));
    // The dots at (100, 100): red painted, white left out, the rest kept.
    EXPECT_EQ(p.pixel(102, 102), RGB(0, 0, 247));
    EXPECT_EQ(p.pixel(110, 110), RGB(7, 7, 7));
    // White in the dots picture lets the ramps through (row 130 is line B).
    EXPECT_EQ(p.pixel(120, 130), RGB(0, 120, 0));
}

TEST_F(InternalColours, WhiteDotsAreKeptJustOffWhite)
{
    prompt.answerColor(RGB(255, 255, 255));
    dialog.Form_Load();
    dialog.Swatch_Click(frmInternalColors::DotsSwatch);
    EXPECT_EQ(colours.Colors[DotsColor], RGB(254, 255, 255));
    EXPECT_EQ(dialog.LEAD1.pixel(102, 102), RGB(254, 255, 255));
}

TEST_F(InternalColours, CancelRestoresAndResetThenCancelToo)
{
    dialog.Form_Load();
    prompt.answerColor(RGB(1, 1, 1));
    prompt.answerColor(RGB(2, 2, 2));
    dialog.Swatch_Click(frmInternalColors::LineALeftSwatch);
    dialog.Swatch_Click(frmInternalColors::LineBRightSwatch);
    EXPECT_EQ(colours.Colors[LineALeft], RGB(1, 1, 1));
    EXPECT_EQ(prompt.calls()[0].initialColour, uint32_t(RGB(255, 255, 255)));
    EXPECT_TRUE(dialog.btnButton_Click(frmInternalColors::CancelButton));
    EXPECT_EQ(colours.Colors, DefaultThemeColors());

    colours.Colors[LineARight] = RGB(9, 9, 9);
    frmInternalColors again(prompt, colours, blank, dots);
    again.Form_Load();
    EXPECT_FALSE(again.btnButton_Click(frmInternalColors::ResetButton));
    EXPECT_EQ(colours.Colors[LineARight], RGB(150, 150, 255));
    EXPECT_EQ(again.SwatchColours[frmInternalColors::LineARightSwatch], RGB(150, 150, 255));
    again.Form_QueryClose();
    EXPECT_EQ(colours.Colors[LineARight], RGB(9, 9, 9));
}

TEST_F(InternalColours, ACancelledDialogIsReported)
{
    dialog.Form_Load();
    prompt.cancelColor();
    dialog.Swatch_Click(frmInternalColors::LineBLeftSwatch);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].text,
              QStringLiteral("Error in InternalColors LineBLeft: Cancel was selected."));
    EXPECT_EQ(colours.Colors[LineBLeft], RGB(255, 255, 255));
}
