// Opening a .tsk theme: extract it, read the theme name, colours and base
// hue from its setup file, load the two pictures and infer the profile.
#pragma once

#include "app/themecolors.h"
#include "package/savetheme.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace varno {

// What the main window shows for the loader. The defaults do nothing, for
// callers without a window.
class ThemeLoadView {
public:
    virtual ~ThemeLoadView() = default;
    virtual void showOverlayLevel(int value) { (void)value; }
    // Draw the default screen of the profile.
    virtual void showDefaultScreen() {}
    virtual void setThemeNameText(const QString &text) { (void)text; }
    // Check mark on Profiles()[checked] only; new-theme button `pressed`
    // (-1 none) pressed, the others released.
    virtual void showProfile(int checked, int pressed)
    {
        (void)checked;
        (void)pressed;
    }
    virtual void setLandscapeVisible(bool visible) { (void)visible; }
    // The Today and Start-menu pictures as the theme stores them, read from
    // `file` ("TODAY" or "MENU" in `role`) before they are put on the canvas.
    virtual void storedPicture(const QString &role, const QString &file, const Raster &picture)
    {
        (void)role;
        (void)file;
        (void)picture;
    }
    virtual void drawScreen(const QString &view) { (void)view; }
    virtual void closeImageDialogs() {}
    // The whole theme at `file` is now the document.
    virtual void loadedTheme(const QString &file) { (void)file; }
};

// The records a theme's setup file carries, found the way theme readers
// find them: by their byte patterns after the registry area's start.
struct ThemeSetupRecords {
    QString themeName;
    std::array<std::optional<Colour>, SlotCount> colours;
    std::optional<int32_t> baseHueIndex;
};

// Setup files are read with 16-bit positions: 32768 bytes or more is the
// overflow error.
constexpr int MaxSetupFileBytes = 32767;
ThemeSetupRecords readThemeSetup(const QByteArray &setup);

// The profile a Today picture of w x h implies.
struct InferredProfile {
    QString themeType;
    int checked;  // index into Profiles()
    int pressed;  // new-theme button, -1 none
};
InferredProfile inferProfile(int width, int height, bool wm5);

// Source for LoadTheme: empty asks for a theme; this asks for one and takes
// only its colours; anything else is a theme file's path.
inline const QString ColorsFromTheme = QStringLiteral("COLORSFROMTHEME");

// Opens a theme into the document. True when it was loaded completely.
bool loadTheme(ThemeContext &ctx, ThemeLoadView &view, const QString &source);
// The same for a given theme file; `coloursOnly` takes only its colours.
bool loadThemeFile(ThemeContext &ctx, ThemeLoadView &view, const QString &file, bool coloursOnly);

// A picture on a 640 x 588 canvas at the top left, clipped: how the theme
// document holds its two pictures.
Raster pictureOnCanvas(Raster picture);

// One picture file into the main image (640 x 588 canvas, picture at the
// top left), with the profile it implies; into the menu image.
bool loadMainImage(ThemeContext &ctx, ThemeLoadView &view, const QString &path);
bool loadMenuImage(ThemeContext &ctx, const QString &path);

// The Today picture of a chosen theme, ready for the fitting dialog; null
// when cancelled or when it failed (with the message shown).
Raster loadImageFromTheme(ThemeContext &ctx, ThemeLoadView &view);

}  // namespace varno
