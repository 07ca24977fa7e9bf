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
    void LoadDefault() override { m_screen.LoadDefault(); }
    void DoScreenMain(const QString &view) override { m_screen.DoScreenMain(view); }
    std::optional<ScreenState> state() const override
    {
        return ScreenState{m_screen.MenuShowing, m_screen.SliderValue, m_screen.SwatchColour};
    }
    DeviceScreen *device() override { return &m_screen; }
    Colour pixel(bool landscape, int x, int y) const override
    {
        const Raster &r = landscape ? m_screen.LEADLandscape : m_screen.LEADTheme;
        return x >= 0 && y >= 0 && x < r.width() && y < r.height() ? r.pixel(x, y) : 0;
    }
    DeviceScreen &screen() { return m_screen; }
    const DeviceScreen &screen() const { return m_screen; }

private:
    DeviceScreen m_screen;
};

}  // namespace varno
