#include "colour/frminternalcolors.h"

#include "base/messages.h"
#include "base/trap.h"
#include "colour/colortable.h"
#include "colour/gradients.h"

namespace varno {

namespace {

const char *const SwatchNames[] = {"LineALeft", "LineARight", "LineBLeft", "LineBRight", "Dots"};

}  // namespace

frmInternalColors::frmInternalColors(Prompt &prompt, ColourState &colours, const Raster &wordBlank,
                                     const Raster &dots)
    : m_prompt(prompt), m_colours(colours), m_wordBlank(wordBlank), m_dots(dots)
{
}

int frmInternalColors::slotOf(int swatch)
{
    static constexpr int swatchSlots[] = {LineALeft, LineARight, LineBLeft, LineBRight, DotsColor};
    return swatchSlots[swatch];
}

void frmInternalColors::Form_Load()
{
    for (int s = 0; s < 5; ++s) {
        m_saved[s] = m_colours.Colors[slotOf(s)];
        SwatchColours[s] = m_saved[s];
    }
    DrawPreview();
}

// A 240 x 2 plain ramp copied onto every fourth row from `firstRow` on.
void frmInternalColors::drawLine(const QString &procedure, int left, int right, int firstRow,
                                 int lastRow)
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"), procedure, [&] {
        Raster line(240, 2);
        DoGradient(m_prompt, {}, m_colours.Colors[left], m_colours.Colors[right], line, 240, 2, 0,
                   true);
        for (int y = firstRow; y <= lastRow; y += 4)
            LEADBuffer.copyRect(line, 0, 0, 240, 2, 0, y);
    });
}

void frmInternalColors::LineOne()
{
    drawLine(QStringLiteral("LineOne"), LineALeft, LineARight, 51, 291);
}

void frmInternalColors::LineTwo()
{
    drawLine(QStringLiteral("LineTwo"), LineBLeft, LineBRight, 49, 293);
}

void frmInternalColors::LoadDots()
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
         QStringLiteral("LoadDots"), [&] {
             // White dots would vanish where white is left out: the theme
             // keeps the nearest colour that shows.
             Colour &dots = m_colours.Colors[DotsColor];
             if (dots == RGB(255, 255, 255))
                 dots = RGB(254, 255, 255);
             Raster picture = m_dots;
             picture.convertTo24();
             picture.selectColour(RGB(255, 0, 0));
             picture.fill(dots);
             picture.selectColour(RGB(255, 255, 255));
             LEADBuffer.copyRect(picture, 0, 0, 35, 35, 100, 100);
         });
}

void frmInternalColors::DrawPreview()
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
         QStringLiteral("LoadBuffer"), [&] {
             LEADBuffer = m_wordBlank;
             LEADBuffer.convertTo24();
         });
    LineOne();
    LineTwo();
    LoadDots();
    SwatchColours[DotsSwatch] = m_colours.Colors[DotsColor];
    LEAD1 = LEADBuffer;
}

void frmInternalColors::Swatch_Click(int swatch)
{
    if (swatch < 0 || swatch > 4)
        return;
    try {
        const Colour chosen = static_cast<Colour>(
            m_prompt.ShowColor(static_cast<uint32_t>(SwatchColours[swatch]), true));
        SwatchColours[swatch] = chosen;
        m_colours.Colors[slotOf(swatch)] = chosen;
        DrawPreview();
    } catch (...) {
        // Every failure, a cancelled dialog included, is reported here.
        const RuntimeError e = currentError();
        m_prompt.MsgBox(QStringLiteral("Error in InternalColors ") +
                            QLatin1String(SwatchNames[swatch]) + QStringLiteral(": ") +
                            e.Description,
                        MsgIcon::Critical, LoadResString(Str::Error));
    }
}

bool frmInternalColors::btnButton_Click(int index)
{
    switch (index) {
    case CancelButton:
        for (int s = 0; s < 5; ++s)
            m_colours.Colors[slotOf(s)] = m_saved[s];
        return true;
    case ResetButton: {
        const ThemeColors &d = DefaultThemeColors();
        for (int s = 0; s < 5; ++s) {
            m_colours.Colors[slotOf(s)] = d[slotOf(s)];
            SwatchColours[s] = d[slotOf(s)];
        }
        DrawPreview();
        return false;
    }
    case SaveButton: return true;
    default: return false;
    }
}

}  // namespace varno
