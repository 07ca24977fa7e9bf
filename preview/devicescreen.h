// The simulated device screen: the Today screen in portrait and landscape,
// with the title bar, command bar, Today items, and the views laid over it
// (Start menu, message boxes, navigation tray). Widget-free: it draws into
// buffers the window shows and reports what the window's controls follow.
#pragma once

#include "app/appsettings.h"
#include "app/raster/raster.h"
#include "app/themedocument.h"
#include "base/prompt.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

namespace varno {

// Tahoma at a point size as the device shows it (bold unless said).
TextStyle DeviceFont(Colour colour, bool bold = true, double points = 8);

// An embedded picture ("DEFAULT", "TITLEBAR" ...), 24-bit, decoded once per
// run.
Raster LoadResourcePicture(const QString &name);

class DeviceScreen {
public:
    DeviceScreen(Prompt &prompt, ThemeDocument &doc, const AppSettings &settings);

    // Redraws both previews with the view "MAIN", "MENU", "MESSAGE",
    // "MESSAGEIMP" or "NAVIGATION"; any other text draws the Today screen
    // alone.
    void DoScreenMain(const QString &view);
    // The default picture of the profile into both theme pictures, and both
    // previews redrawn. Resetting the colours is the caller's first step.
    void LoadDefault();

    // The two previews as the window shows them: 240x320 (240x240 for the
    // square profile) and 320x240.
    Raster LEADTheme;
    Raster LEADLandscape;
    // The last redraw showed the Start menu: the transparency controls then
    // act on the menu overlay.
    bool MenuShowing = false;
    // What the transparency slider and swatch show after a redraw.
    int SliderValue = 0;
    Colour SwatchColour = RGB(255, 255, 255);
    // Height of the portrait preview's frame (322, or 242 for square).
    int PortraitFrameHeight = 322;

    // The moment shown on the clock and the date; tests pin it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    // The long date of the Today screen is written the user's way.
    QLocale locale = QLocale::system();

    // Pieces of the redraw, public for the window's other views and tests.
    void MakeTitleBar(Raster &canvas, Raster &work, const QString &orientation);
    void DoTitleBar(Raster &buffer, const QString &orientation);
    void CreateCommandBar(Raster &buffer, const QString &orientation);
    void DoEdgeLine(Raster &buffer, int width, int height);
    void PlaceNavigationBar(const QString &orientation);
    void PlaceMessageBox(const QString &kind, int width);
    void CreateMenuBuffer(const QString &layout);
    void DoText(Raster &canvas);
    void DoLines(Raster &canvas, int width);
    void LoadIconImages(Raster &buffer);

    // The work buffer holding the last layer made.
    const Raster &workBuffer() const { return LEADBuffer; }

private:
    // A picture scaled to a width (height in proportion), kept until the
    // picture changes: resampling a VGA picture costs more than a redraw.
    class ScaledCopy {
    public:
        const Raster &of(const Raster &source, int width);

    private:
        qint64 m_key = 0;
        int m_width = 0;
        Raster m_scaled;
    };

    bool square() const;
    void startCanvases();
    void drawBars();
    void show(bool landscapeToo);

    Prompt &m_prompt;
    ThemeDocument &m_doc;
    const AppSettings &m_settings;
    Raster LEADCompose, LEADComposeLand, LEADTitleBar, LEADTitleBarLand;
    Raster LEADBuffer, LEADTemp, LEADMenuBuffer;
    ScaledCopy m_halfMain, m_halfMenu;
};

}  // namespace varno
