// The theme being edited: profile, name, the two pictures and the colours.
// It lives for the whole run; commands change it and the preview reads it.
#pragma once

#include "app/raster/raster.h"
#include "app/themecolors.h"

#include <QString>

namespace varno {

struct ThemeDocument {
    QString ThemeType = QStringLiteral("QVGA");  // "STD", "QVGA", "VGA" or "SQ240"
    bool Wm5Theme = false;
    QString ThemeName;         // text of the theme-name box, untrimmed
    QString CurrentThemeName;  // trimmed name taken at the last save
    Raster LEADMain;           // Today picture, picture at the top-left corner
    Raster LEADMenu;           // Start-menu picture
    ColourState Colours;
    bool ImageDialogReady = false;
};

}  // namespace varno
