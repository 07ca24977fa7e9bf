// The title bar, command bar, WM5 edge, navigation tray and message boxes.
#include "preview/devicescreen.h"

#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/ccolors.h"
#include "colour/colourfunctions.h"
#include "colour/gradients.h"
#include "resources/resources.h"

#include <map>

namespace varno {

// Embedded pictures are decoded once: the preview redraws on every change.
Raster LoadResourcePicture(const QString &name)
{
    static std::map<QString, Raster> cache;
    const auto it = cache.find(name);
    if (it != cache.end())
        return it->second;
    Raster picture = LoadPictureData(LoadCustomResource(name));
    picture.convertTo24();
    cache.emplace(name, picture);
    return picture;
}

namespace {

// "Error in <procedure>: <description>", the form of these layers.
void showLayerError(Prompt &prompt, const QString &procedure)
{
    const RuntimeError e = currentError();
    prompt.MsgBox(QStringLiteral("Error in ") + procedure + QStringLiteral(": ") + e.Description,
                  MsgIcon::Critical, LoadResString(Str::Error));
}

}  // namespace

void DeviceScreen::DoTitleBar(Raster &buffer, const QString &orientation)
{
    try {
        buffer = LoadResourcePicture(orientation == QLatin1String("PORTRAIT")
                                         ? QStringLiteral("TITLEBAR")
                                         : QStringLiteral("TITLEBAR320"));
        buffer.convertTo24();
        buffer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("DoTitleBar"));
    }
}

void DeviceScreen::MakeTitleBar(Raster &canvas, Raster &work, const QString &orientation)
{
    trapLong(m_prompt, QStringLiteral("MakeTitleBar"), [&] {
        const bool portrait = orientation == QLatin1String("PORTRAIT");
        const int w = portrait ? 240 : 320;
        DoTitleBar(work, orientation);
        canvas.copyRect(work, 0, 0, w, 28, 0, 0);
        work.clearSelection();
        const TextStyle text = DeviceFont(m_doc.Colours.Colors[NavBarText]);
        canvas.drawText(31, 7, QStringLiteral("Start"), text);
        const QString &type = m_doc.ThemeType;
        const QString label = type == QLatin1String("STD") || type == QLatin1String("QVGA") ||
                                      type == QLatin1String("SQ240")
                                  ? type
                                  : QStringLiteral("VGA");
        canvas.drawText(portrait ? 80 : 150, 7, label, text);
        canvas.drawText(portrait ? 185 : 265, 7, clock().toString(QStringLiteral("HH:mm")), text);
    });
}

void DeviceScreen::DoEdgeLine(Raster &buffer, int width, int height)
{
    const ThemeColors &c = m_doc.Colours.Colors;
    CColors cc;
    // Inclusive of width / 2 even for odd widths, as the loop always ran.
    for (int i = 0; i <= width / 2; ++i) {
        cc.setRGBColor(c.BaseHueColor);
        cc.Brighten(static_cast<float>(i * 0.008));
        buffer.setDrawColour(c.BaseHueIndex < 256 ? GreyOfMax(cc.RGBColor()) : cc.RGBColor());
        buffer.drawLine(i, height - 2, i, height);
        buffer.drawLine(width - i, height - 2, width - i, height);
    }
}

void DeviceScreen::CreateCommandBar(Raster &buffer, const QString &orientation)
{
    trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("CreateCommandBar"), [&] {
             const int w = orientation == QLatin1String("PORTRAIT") ? 240 : 320;
             const ThemeColors &c = m_doc.Colours.Colors;
             buffer = Raster(w, 28);
             if (!m_doc.Wm5Theme) {
                 buffer.fill(c[CommandBar]);
                 buffer.setDrawColour(RGB(0, 0, 0));
                 buffer.drawLine(0, 0, w, 0);
                 buffer.drawText(4, 5, QStringLiteral("New"), DeviceFont(RGB(0, 0, 0)));
                 return;
             }
             const RampTheme ramp{true, c.BaseHueIndex, c.BaseHueColor};
             if (c.BaseHueIndex >= 256)
                 DoGradientWM5(m_prompt, ramp, buffer, static_cast<int16_t>(w), 28);
             else
                 GreyRamp(buffer, static_cast<int16_t>(w), 28, c.BaseHueColor);
             const TextStyle white = DeviceFont(RGB(255, 255, 255));
             buffer.drawText(20, 5, QStringLiteral("Calendar"), white);
             buffer.drawText(w == 240 ? 170 : 250, 5, QStringLiteral("Contacts"), white);
         });
}

void DeviceScreen::PlaceNavigationBar(const QString &orientation)
{
    try {
        const bool portrait = orientation == QLatin1String("PORTRAIT");
        const int w = portrait ? 240 : 320;
        LEADTemp = LoadResourcePicture(portrait ? QStringLiteral("NAVIGATION")
                                                : QStringLiteral("NAVIGATION320"));
        LEADBuffer = Raster(w, 50);
        LEADBuffer.copyRect(LEADTemp, 0, 0, w, 50, 0, 0);
        // The tray must never become the transparent key colour.
        Colour &tray = m_doc.Colours.Colors[NavTray];
        if (tray == KeyColour)
            tray = RGB(1, 255, 0);
        LEADBuffer.selectColour(RGB(255, 0, 0));
        LEADBuffer.fill(tray);
        // Only the notification tab of the top band stays.
        LEADBuffer.selectRect(0, 0, 142, 26);
        LEADBuffer.fill(KeyColour);
        LEADBuffer.selectRect(160, 0, portrait ? 80 : 160, 26);
        LEADBuffer.fill(KeyColour);
        LEADBuffer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("PlaceNavigationBar"));
    }
}

void DeviceScreen::PlaceMessageBox(const QString &kind, int width)
{
    try {
        const bool message = kind == QLatin1String("message");
        const ThemeColors &c = m_doc.Colours.Colors;
        const Raster box = LoadResourcePicture(message ? QStringLiteral("MESSAGE-SM")
                                                       : QStringLiteral("MESSAGE-IMP-SM"));
        const int boxW = box.width(), boxH = box.height();
        // 1. The header gradient under the whole box.
        LEADBuffer = Raster(boxW, boxH);
        const RampTheme ramp{m_doc.Wm5Theme, c.BaseHueIndex, c.BaseHueColor};
        DoGradient(m_prompt, ramp, c[message ? MessageBarLeft : ImpMessageBarLeft],
                   c[message ? MessageBarRight : ImpMessageBarRight], LEADBuffer,
                   static_cast<int16_t>(boxW + 15), 50, 0, false, -1);
        // 2, 3. The box replaces the gradient except where its header key is.
        LEADTitleBar = box;
        LEADTitleBar.selectColour(message ? RGB(0, 0, 255) : RGB(255, 0, 0));
        LEADBuffer.copyRect(LEADTitleBar, 0, 0, boxW, boxH, 0, 0);
        LEADTitleBar.clearSelection();
        // 4 - 6. The layer: key colour around the box at its place.
        LEADTitleBar = Raster(width, message ? 220 : 150);
        LEADTitleBar.fill(KeyColour);
        const int x = message ? (width == 240 ? 119 : 199) : (width == 240 ? 9 : 89);
        LEADTitleBar.copyRect(LEADBuffer, 0, 0, boxW, boxH, x, 0);
        LEADBuffer = LEADTitleBar;
        // 7.
        if (message)
            LEADBuffer.drawText(width == 240 ? 130 : 210, 14, QStringLiteral("Volume"),
                                DeviceFont(c[DialogText], 9));
        // 8.
        LEADBuffer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("PlaceMessageBox"));
    }
}

}  // namespace varno
