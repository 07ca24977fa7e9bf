#include "colour/internalcoloursmodel.h"

#include "base/messages.h"
#include "base/trap.h"
#include "colour/colortable.h"
#include "colour/gradients.h"

namespace varno {

namespace {

const char *const SwatchNames[] = {"LineALeft", "LineARight", "LineBLeft", "LineBRight", "Dots"};

}  // namespace

InternalColoursModel::InternalColoursModel(Prompt &prompt, ColourState &colours,
                                           const Raster &wordBlank, const Raster &dots)
    : m_prompt(prompt), m_colours(colours), m_wordBlank(wordBlank), m_dots(dots)
{
}

int InternalColoursModel::slotOf(int swatch)
{
    static constexpr int swatchSlots[] = {LineALeft, LineARight, LineBLeft, LineBRight, DotsColor};
    return swatchSlots[swatch];
}

void InternalColoursModel::load()
{
    for (int s = 0; s < 5; ++s) {
        m_saved[s] = m_colours.colors[slotOf(s)];
        swatchColours[s] = m_saved[s];
    }
    drawPreview();
}

// A 240 x 2 plain ramp copied onto every fourth row from `firstRow` on.
void InternalColoursModel::drawLine(const QString &procedure, int left, int right, int firstRow,
                                    int lastRow)
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"), procedure, [&] {
        Raster line(240, 2);
        drawRamp(m_prompt, {}, m_colours.colors[left], m_colours.colors[right], line, 240, 2, 0,
                 true);
        for (int y = firstRow; y <= lastRow; y += 4)
            m_layer.copyRect(line, 0, 0, 240, 2, 0, y);
    });
}

void InternalColoursModel::drawLineA()
{
    drawLine(QStringLiteral("LineOne"), LineALeft, LineARight, 51, 291);
}

void InternalColoursModel::drawLineB()
{
    drawLine(QStringLiteral("LineTwo"), LineBLeft, LineBRight, 49, 293);
}

void InternalColoursModel::drawDots()
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
         QStringLiteral("LoadDots"), [&] {
             // White dots would vanish where white is left out: the theme
             // keeps the nearest colour that shows.
             Colour &dots = m_colours.colors[DotsColor];
             if (dots == rgb(255, 255, 255))
                 dots = rgb(254, 255, 255);
             Raster picture = m_dots;
             picture.convertTo24();
             picture.selectColour(rgb(255, 0, 0));
             picture.fill(dots);
             picture.selectColour(rgb(255, 255, 255));
             m_layer.copyRect(picture, 0, 0, 35, 35, 100, 100);
         });
}

void InternalColoursModel::drawPreview()
{
    trap(m_prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
         QStringLiteral("LoadBuffer"), [&] {
             m_layer = m_wordBlank;
             m_layer.convertTo24();
         });
    drawLineA();
    drawLineB();
    drawDots();
    swatchColours[DotsSwatch] = m_colours.colors[DotsColor];
    preview = m_layer;
}

void InternalColoursModel::chooseSwatchColour(int swatch)
{
    if (swatch < 0 || swatch > 4)
        return;
    try {
        const Colour chosen = static_cast<Colour>(
            m_prompt.chooseColour(static_cast<uint32_t>(swatchColours[swatch]), true));
        swatchColours[swatch] = chosen;
        m_colours.colors[slotOf(swatch)] = chosen;
        drawPreview();
    } catch (...) {
        // A cancelled dialog leaves the swatch as it was, without a word.
        const RuntimeError e = currentError();
        if (e.isCancel())
            return;
        m_prompt.messageBox(QStringLiteral("Error in InternalColors ") +
                                QLatin1String(SwatchNames[swatch]) + QStringLiteral(": ") +
                                e.description,
                            MsgIcon::Critical, stringResource(Str::Error));
    }
}

bool InternalColoursModel::pressButton(int index)
{
    switch (index) {
    case CancelButton:
        for (int s = 0; s < 5; ++s)
            m_colours.colors[slotOf(s)] = m_saved[s];
        return true;
    case ResetButton: {
        const ThemeColors &d = defaultThemeColors();
        for (int s = 0; s < 5; ++s) {
            m_colours.colors[slotOf(s)] = d[slotOf(s)];
            swatchColours[s] = d[slotOf(s)];
        }
        drawPreview();
        return false;
    }
    case SaveButton: return true;
    default: return false;
    }
}

}  // namespace varno
