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
TextStyle deviceFont(Colour colour, bool bold = true, double points = 8);

// An embedded picture ("DEFAULT", "TITLEBAR" ...), 24-bit, decoded once per
// run.
Raster loadResourcePicture(const QString &name);

class DeviceScreen {
public:
    DeviceScreen(Prompt &prompt, ThemeDocument &doc, const AppSettings &settings);

    // Redraws both previews with the view "MAIN", "MENU", "MESSAGE",
    // "MESSAGEIMP" or "NAVIGATION"; any other text draws the Today screen
    // alone.
    void drawScreen(const QString &view);
    // The default picture of the profile into both theme pictures, and both
    // previews redrawn. Resetting the colours is the caller's first step.
    void showDefaultScreen();

    // The two previews as the window shows them: 240x320 (240x240 for the
    // square profile) and 320x240.
    Raster portraitScreen;
    Raster landscapeScreen;
    // The last redraw showed the Start menu: the transparency controls then
    // act on the menu overlay.
    bool menuShowing = false;
    // What the transparency slider and swatch show after a redraw.
    int overlayLevel = 0;
    Colour overlaySwatch = rgb(255, 255, 255);
    // Height of the portrait preview's frame (322, or 242 for square).
    int portraitFrameHeight = 322;

    // The moment shown on the clock and the date; tests pin it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    // The long date of the Today screen is written the user's way.
    QLocale locale = QLocale::system();

    // Pieces of the redraw, public for the window's other views and tests.
    void makeTitleBar(Raster &canvas, Raster &work, const QString &orientation);
    void drawTitleBar(Raster &buffer, const QString &orientation);
    void drawCommandBar(Raster &buffer, const QString &orientation);
    void drawEdgeLine(Raster &buffer, int width, int height);
    void placeNavigationBar(const QString &orientation);
    void placeMessageBox(const QString &kind, int width);
    void drawStartMenu(const QString &layout);
    void drawTodayText(Raster &canvas);
    void drawTodayLines(Raster &canvas, int width);
    void drawTodayIcons(Raster &buffer);

    // The work buffer holding the last layer made.
    const Raster &workBuffer() const { return m_layer; }

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
    Raster m_portraitCanvas, m_landscapeCanvas, m_portraitTitleBar, m_landscapeTitleBar;
    Raster m_layer, m_scratch, m_menuLayer;
    ScaledCopy m_halfMain, m_halfMenu;
};

}  // namespace varno
