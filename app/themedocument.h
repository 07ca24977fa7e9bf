// The theme being edited: profile, name, the two pictures and the colours.
// It lives for the whole run; commands change it and the preview reads it.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"

#include <QString>

namespace varno {

struct ThemeDocument {
    QString themeType = QStringLiteral("QVGA");  // "STD", "QVGA", "VGA" or "SQ240"
    bool wm5Theme = false;
    QString themeName;         // text of the theme-name box, untrimmed
    QString currentThemeName;  // trimmed name taken at the last save
    Raster todayPicture;       // Today picture, picture at the top-left corner
    Raster menuPicture;        // Start-menu picture
    ColourState colours;
    bool imageDialogReady = false;
};

}  // namespace varno
