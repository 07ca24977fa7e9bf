// How the main window's model asks for the preview to be drawn. The preview
// renderer implements it (PreviewScreen); a recording one serves tests that
// only check which redraws were asked for.
#pragma once

#include "app/themecolors.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace varno {

class DeviceScreen;

// What the window's controls follow after a redraw.
struct ScreenState {
    bool menuShowing = false;
    int overlayLevel = 0;
    Colour overlaySwatch = rgb(255, 255, 255);
};

class ScreenPort {
public:
    virtual ~ScreenPort() = default;
    // Draw the default screen of the current profile (new theme, start-up).
    virtual void showDefaultScreen() = 0;
    // Redraw both previews with one of "MAIN", "MENU", "MESSAGE",
    // "MESSAGEIMP", "NAVIGATION".
    virtual void drawScreen(const QString &view) = 0;
    // The state after the last redraw; nothing when the port does not draw.
    virtual std::optional<ScreenState> state() const { return std::nullopt; }
    // The renderer itself, for captures; nothing when the port does not draw.
    virtual DeviceScreen *device() { return nullptr; }
    // A pixel of the visible portrait or landscape preview.
    virtual Colour pixel(bool landscape, int x, int y) const = 0;
};

class RecordingScreen : public ScreenPort {
public:
    void showDefaultScreen() override { requests << QStringLiteral("LoadDefault"); }
    void drawScreen(const QString &view) override
    {
        requests << QStringLiteral("DoScreenMain ") + view;
    }
    Colour pixel(bool, int, int) const override { return previewColour; }
    QStringList requests;
    Colour previewColour = 0;  // what every preview pixel reads
};

}  // namespace varno
