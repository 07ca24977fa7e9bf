// The title bar, command bar, WM5 edge, navigation tray and message boxes.
#include "preview/devicescreen.h"

#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/hslcolour.h"
#include "colour/colourfunctions.h"
#include "colour/gradients.h"
#include "resources/resources.h"

#include <map>

namespace varno {

// Embedded pictures are decoded once: the preview redraws on every change.
Raster loadResourcePicture(const QString &name)
{
    static std::map<QString, Raster> cache;
    const auto it = cache.find(name);
    if (it != cache.end())
        return it->second;
    Raster picture = loadPictureData(customResource(name));
    picture.convertTo24();
    cache.emplace(name, picture);
    return picture;
}

namespace {

// "Error in <procedure>: <description>", the form of these layers.
void showLayerError(Prompt &prompt, const QString &procedure)
{
    const RuntimeError e = currentError();
    prompt.messageBox(QStringLiteral("Error in ") + procedure + QStringLiteral(": ") +
                          e.description,
                      MsgIcon::Critical, stringResource(Str::Error));
}

}  // namespace

void DeviceScreen::drawTitleBar(Raster &buffer, const QString &orientation)
{
    try {
        buffer = loadResourcePicture(orientation == QLatin1String("PORTRAIT")
                                         ? QStringLiteral("TITLEBAR")
                                         : QStringLiteral("TITLEBAR320"));
        buffer.convertTo24();
        buffer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("DoTitleBar"));
    }
}

void DeviceScreen::makeTitleBar(Raster &canvas, Raster &work, const QString &orientation)
{
    trapLong(m_prompt, QStringLiteral("MakeTitleBar"), [&] {
        const bool portrait = orientation == QLatin1String("PORTRAIT");
        const int w = portrait ? 240 : 320;
        drawTitleBar(work, orientation);
        canvas.copyRect(work, 0, 0, w, 28, 0, 0);
        work.clearSelection();
        const TextStyle text = deviceFont(m_doc.colours.colors[NavBarText]);
        canvas.drawText(31, 7, QStringLiteral("Start"), text);
        const QString &type = m_doc.themeType;
        const QString label = type == QLatin1String("STD") || type == QLatin1String("QVGA") ||
                                      type == QLatin1String("SQ240")
                                  ? type
                                  : QStringLiteral("VGA");
        canvas.drawText(portrait ? 80 : 150, 7, label, text);
        canvas.drawText(portrait ? 185 : 265, 7, clock().toString(QStringLiteral("HH:mm")), text);
    });
}

void DeviceScreen::drawEdgeLine(Raster &buffer, int width, int height)
{
    const ThemeColors &c = m_doc.colours.colors;
    HslColour cc;
    // Inclusive of width / 2 even for odd widths, as the loop always ran.
    for (int i = 0; i <= width / 2; ++i) {
        cc.setRgbColor(c.baseHueColor);
        cc.brighten(static_cast<float>(i * 0.008));
        buffer.setDrawColour(c.baseHueIndex < 256 ? greyOfMax(cc.rgbColor()) : cc.rgbColor());
        buffer.drawLine(i, height - 2, i, height);
        buffer.drawLine(width - i, height - 2, width - i, height);
    }
}

void DeviceScreen::drawCommandBar(Raster &buffer, const QString &orientation)
{
    trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("CreateCommandBar"), [&] {
             const int w = orientation == QLatin1String("PORTRAIT") ? 240 : 320;
             const ThemeColors &c = m_doc.colours.colors;
             buffer = Raster(w, 28);
             if (!m_doc.wm5Theme) {
                 buffer.fill(c[CommandBar]);
                 buffer.setDrawColour(rgb(0, 0, 0));
                 buffer.drawLine(0, 0, w, 0);
                 buffer.drawText(4, 5, QStringLiteral("New"), deviceFont(rgb(0, 0, 0)));
                 return;
             }
             const RampTheme ramp{true, c.baseHueIndex, c.baseHueColor};
             if (c.baseHueIndex >= 256)
                 drawHueRamp(m_prompt, ramp, buffer, static_cast<int16_t>(w), 28);
             else
                 drawGreyRamp(buffer, static_cast<int16_t>(w), 28, c.baseHueColor);
             const TextStyle white = deviceFont(rgb(255, 255, 255));
             buffer.drawText(20, 5, QStringLiteral("Calendar"), white);
             buffer.drawText(w == 240 ? 170 : 250, 5, QStringLiteral("Contacts"), white);
         });
}

void DeviceScreen::placeNavigationBar(const QString &orientation)
{
    try {
        const bool portrait = orientation == QLatin1String("PORTRAIT");
        const int w = portrait ? 240 : 320;
        m_scratch = loadResourcePicture(portrait ? QStringLiteral("NAVIGATION")
                                                 : QStringLiteral("NAVIGATION320"));
        m_layer = Raster(w, 50);
        m_layer.copyRect(m_scratch, 0, 0, w, 50, 0, 0);
        // The tray must never become the transparent key colour.
        Colour &tray = m_doc.colours.colors[NavTray];
        if (tray == KeyColour)
            tray = rgb(1, 255, 0);
        m_layer.selectColour(rgb(255, 0, 0));
        m_layer.fill(tray);
        // Only the notification tab of the top band stays.
        m_layer.selectRect(0, 0, 142, 26);
        m_layer.fill(KeyColour);
        m_layer.selectRect(160, 0, portrait ? 80 : 160, 26);
        m_layer.fill(KeyColour);
        m_layer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("PlaceNavigationBar"));
    }
}

void DeviceScreen::placeMessageBox(const QString &kind, int width)
{
    try {
        const bool message = kind == QLatin1String("message");
        const ThemeColors &c = m_doc.colours.colors;
        const Raster box = loadResourcePicture(message ? QStringLiteral("MESSAGE-SM")
                                                       : QStringLiteral("MESSAGE-IMP-SM"));
        const int boxW = box.width(), boxH = box.height();
        // The header gradient under the whole box.
        m_layer = Raster(boxW, boxH);
        const RampTheme ramp{m_doc.wm5Theme, c.baseHueIndex, c.baseHueColor};
        drawRamp(m_prompt, ramp, c[message ? MessageBarLeft : ImpMessageBarLeft],
                 c[message ? MessageBarRight : ImpMessageBarRight], m_layer,
                 static_cast<int16_t>(boxW + 15), 50, 0, false, -1);
        // 2, 3. The box replaces the gradient except where its header key is.
        m_portraitTitleBar = box;
        m_portraitTitleBar.selectColour(message ? rgb(0, 0, 255) : rgb(255, 0, 0));
        m_layer.copyRect(m_portraitTitleBar, 0, 0, boxW, boxH, 0, 0);
        m_portraitTitleBar.clearSelection();
        // 4 - 6. The layer: key colour around the box at its place.
        m_portraitTitleBar = Raster(width, message ? 220 : 150);
        m_portraitTitleBar.fill(KeyColour);
        const int x = message ? (width == 240 ? 119 : 199) : (width == 240 ? 9 : 89);
        m_portraitTitleBar.copyRect(m_layer, 0, 0, boxW, boxH, x, 0);
        m_layer = m_portraitTitleBar;
        if (message)
            m_layer.drawText(width == 240 ? 130 : 210, 14, QStringLiteral("Volume"),
                             deviceFont(c[DialogText], true, 9));
        m_layer.selectColour(KeyColour);
    } catch (...) {
        showLayerError(m_prompt, QStringLiteral("PlaceMessageBox"));
    }
}

}  // namespace varno
