// The "Internal Colors" dialog without its widgets: the two Today line
// ramps and the selection dots, shown on an empty Today screen.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "base/prompt.h"

#include <array>

namespace varno {

class InternalColoursModel {
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
    InternalColoursModel(Prompt &prompt, ColourState &colours, const Raster &wordBlank,
                         const Raster &dots);

    void load();
    // Recomposes the preview from the current colours.
    void drawPreview();
    // A swatch clicked: the colour dialog, then the slot and the preview.
    void chooseSwatchColour(int swatch);
    // True when the dialog closes.
    bool pressButton(int index);
    // Closing by the window frame counts as Cancel.
    void closeFromFrame() { pressButton(CancelButton); }

    std::array<Colour, 5> swatchColours{};
    Raster preview;  // the visible preview

private:
    static int slotOf(int swatch);
    void drawLine(const QString &procedure, int left, int right, int firstRow, int lastRow);
    void drawLineA();
    void drawLineB();
    void drawDots();

    Prompt &m_prompt;
    ColourState &m_colours;
    const Raster &m_wordBlank;
    const Raster &m_dots;
    Raster m_layer;
    std::array<Colour, 5> m_saved{};
};

}  // namespace varno
