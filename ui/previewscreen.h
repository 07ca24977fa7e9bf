// The renderer behind the main window's preview.
#pragma once

#include "preview/devicescreen.h"
#include "ui/screenport.h"

namespace varno {

class PreviewScreen : public ScreenPort {
public:
    PreviewScreen(Prompt &prompt, ThemeDocument &doc, const AppSettings &settings)
        : m_screen(prompt, doc, settings)
    {
    }
    void showDefaultScreen() override { m_screen.showDefaultScreen(); }
    void drawScreen(const QString &view) override { m_screen.drawScreen(view); }
    std::optional<ScreenState> state() const override
    {
        return ScreenState{m_screen.menuShowing, m_screen.overlayLevel, m_screen.overlaySwatch};
    }
    DeviceScreen *device() override { return &m_screen; }
    Colour pixel(bool landscape, int x, int y) const override
    {
        const Raster &r = landscape ? m_screen.landscapeScreen : m_screen.portraitScreen;
        return x >= 0 && y >= 0 && x < r.width() && y < r.height() ? r.pixel(x, y) : 0;
    }
    DeviceScreen &screen() { return m_screen; }
    const DeviceScreen &screen() const { return m_screen; }

private:
    DeviceScreen m_screen;
};

}  // namespace varno
