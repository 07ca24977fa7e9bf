// "Auto Colors": a whole colour scheme derived from the picture on the
// Today preview.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"
#include "base/prompt.h"

#include <QString>

#include <functional>

namespace varno {

// Entries of the sampling table: 268 rows of 240 pixels below the title
// bar, padded with black entries that take part in the average.
constexpr int AutoColourSamples = 70856;
constexpr int AutoColourSampledRows = 268;

struct AutoColourScene {
    // Asks the preview to redraw a view ("MAIN", "MENU").
    std::function<void(const QString &view)> redraw;
    // The portrait preview as it is now.
    std::function<const Raster &()> preview;
    ColourState &colours;
    bool wm5Theme;
    QString headings;
    bool &menuShowing;
};

// Errors are shown as "Error in frmMain: Sub AutoColorAverage"; colours set
// before the error stay, and so does the hourglass.
void autoColorAverage(Prompt &prompt, AutoColourScene &scene);

}  // namespace varno
