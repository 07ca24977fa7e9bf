// The seven device profiles as data: what each new-theme command sets, the
// picture sizes a theme is saved at and which fitting dialog serves it.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace varno {

// The four fitting dialogs: standard, wide (320-pixel), VGA and square.
enum class ImageDialogKind { Standard, SE, VGA, Square };

struct DeviceProfile {
    const char *command;    // menu item name, e.g. "mnuNewQVGA"
    const char *caption;    // menu caption
    const char *themeType;  // "STD", "QVGA", "VGA", "SQ240"
    bool wm5Theme;
    int pressedButton;  // new-theme button 0..2, or -1 for none
    bool landscape;     // landscape preview shown
    ImageDialogKind dialog;
    QSize todaySize;              // Today picture as saved
    QSize menuCanvas;             // Start-menu canvas before cropping
    QRect menuCrop;               // Start-menu picture as saved
    const char *defaultResource;  // picture of a new theme
};

constexpr int ProfileCount = 7;
const std::array<DeviceProfile, ProfileCount> &profiles();

// index into Profiles() of the menu item that carries the check mark for
// this identifier and flag: the WM5 item for QVGA, VGA and SQ240 when the
// flag is set, else the plain one; -1 for an unknown identifier.
int profileIndexFor(const QString &themeType, bool wm5);

// Dialog opened by "Change Current Image(s)": by identifier only.
ImageDialogKind changeImagesDialogFor(const QString &themeType);

// Geometry used when saving; VGA also serves any unknown identifier.
const DeviceProfile &saveGeometryFor(const QString &themeType);

// The theme-name filter: `code` when accepted, 0 when rejected.
int themeNameKeyFilter(int code);
// Pasted text passed through the same filter.
QString filterThemeName(const QString &text);

}  // namespace varno
