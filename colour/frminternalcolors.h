// The "Internal Colors" dialog without its widgets: the two Today line
// ramps and the selection dots, shown on an empty Today screen.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "base/prompt.h"

#include <array>

namespace varno {

class frmInternalColors {
public:
    // Swatches in their order: line A left and right, line B left and
    // right, the selection dots.
    enum Swatch {
        LineALeftSwatch,
        LineARightSwatch,
        LineBLeftSwatch,
        LineBRightSwatch,
        DotsSwatch
    };
    // Buttons in their index order.
    enum Button { CancelButton, ResetButton, SaveButton };

    // `wordBlank` is the empty Today screen (240x320), `dots` the dots
    // picture (35x35), both as embedded.
    frmInternalColors(Prompt &prompt, ColourState &colours, const Raster &wordBlank,
                      const Raster &dots);

    void Form_Load();
    // Recomposes the preview from the current colours.
    void DrawPreview();
    // A swatch clicked: the colour dialog, then the slot and the preview.
    void Swatch_Click(int swatch);
    // True when the dialog closes.
    bool btnButton_Click(int index);
    // Closing by the window frame counts as Cancel.
    void Form_QueryClose() { btnButton_Click(CancelButton); }

    std::array<Colour, 5> SwatchColours{};
    Raster LEAD1;  // the visible preview

private:
    static int slotOf(int swatch);
    void drawLine(const QString &procedure, int left, int right, int firstRow, int lastRow);
    void LineOne();
    void LineTwo();
    void LoadDots();

    Prompt &m_prompt;
    ColourState &m_colours;
    const Raster &m_wordBlank;
    const Raster &m_dots;
    Raster LEADBuffer;
    std::array<Colour, 5> m_saved{};
};

}  // namespace varno
