// The redraw of the device screen: its order, the Today items and the
// default picture.
#include "preview/devicescreen.h"

#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"
#include "colour/gradients.h"
#include "resources/resources.h"

#include <QLocale>

namespace varno {

TextStyle DeviceFont(Colour colour, bool bold, double points)
{
    TextStyle s;
    s.face = QStringLiteral("Tahoma");
    s.points = points;
    s.bold = bold;
    s.colour = colour;
    return s;
}

const Raster &DeviceScreen::ScaledCopy::of(const Raster &source, int width)
{
    // QImage's cache key changes whenever its pixels do.
    const qint64 key = source.image().cacheKey();
    if (key != m_key || width != m_width || m_scaled.isNull()) {
        m_scaled = source;
        m_scaled.resize(width, 0);
        m_key = key;
        m_width = width;
    }
    return m_scaled;
}

DeviceScreen::DeviceScreen(Prompt &prompt, ThemeDocument &doc, const AppSettings &settings)
    : m_prompt(prompt), m_doc(doc), m_settings(settings)
{
}

bool DeviceScreen::square() const
{
    return m_doc.ThemeType == QLatin1String("SQ240");
}

// Steps 3 to 6 of the redraw: canvases, title gradient, WM5 edge, title
// overlay.
void DeviceScreen::startCanvases()
{
    // Only the top-left corner of a canvas ever reaches a preview, so the
    // canvases are made just that big: same pixels, less to clear per redraw.
    LEADCompose = Raster(240, 320);
    LEADComposeLand = Raster(320, 240);
    LEADTitleBar = Raster(240, 50);
    LEADTitleBarLand = Raster(320, 50);
    const ThemeColors &c = m_doc.Colours.Colors;
    const RampTheme ramp{m_doc.Wm5Theme, c.BaseHueIndex, c.BaseHueColor};
    DoGradient(m_prompt, ramp, c[NavBarLeft], c[NavBarRight], LEADTitleBar, 240, 28, 0, false);
    DoGradient(m_prompt, ramp, c[NavBarLeft], c[NavBarRight], LEADTitleBarLand, 320, 28, 0, false);
    LEADCompose.copyRect(LEADTitleBar, 0, 0, 240, 28, 0, 0);
    LEADComposeLand.copyRect(LEADTitleBarLand, 0, 0, 320, 28, 0, 0);
    if (m_doc.Wm5Theme) {
        DoEdgeLine(LEADTitleBar, 240, 28);
        LEADCompose.copyRect(LEADTitleBar, 0, 26, 240, 2, 0, 26);
        DoEdgeLine(LEADTitleBarLand, 320, 28);
        LEADComposeLand.copyRect(LEADTitleBarLand, 0, 26, 320, 2, 0, 26);
    }
    LEADBuffer = Raster(240, 50);
    MakeTitleBar(LEADCompose, LEADBuffer, QStringLiteral("PORTRAIT"));
    LEADBuffer = Raster(320, 50);
    MakeTitleBar(LEADComposeLand, LEADBuffer, QStringLiteral("LANDSCAPE"));
}

// Steps 9 to 12: command bars, WM5 rows, icons, text and lines.
void DeviceScreen::drawBars()
{
    const int barTop = square() ? 214 : 296;
    CreateCommandBar(LEADBuffer, QStringLiteral("PORTRAIT"));
    LEADBuffer.convertTo24();
    LEADCompose.copyRect(LEADBuffer, 0, 0, 240, 26, 0, barTop);
    if (m_doc.Wm5Theme) {
        DoEdgeLine(LEADTitleBar, 240, 26);
        LEADCompose.copyRect(LEADTitleBar, 0, square() ? 26 : 24, 240, 2, 0, barTop);
    }
    LEADBuffer.clearSelection();

    CreateCommandBar(LEADBuffer, QStringLiteral("LANDSCAPE"));
    LEADBuffer.convertTo24();
    LEADComposeLand.copyRect(LEADBuffer, 0, 0, 320, 26, 0, 216);
    LEADBuffer.clearSelection();
    if (m_doc.Wm5Theme) {
        DoEdgeLine(LEADTitleBarLand, 320, 26);
        LEADComposeLand.copyRect(LEADTitleBarLand, 0, 24, 320, 2, 0, 216);
    }

    if (m_settings.TodayText != QLatin1String("none")) {
        LoadIconImages(LEADBuffer);
        LEADCompose.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0, 28);
        LEADComposeLand.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0, 28);
    }
    DoText(LEADCompose);
    DoText(LEADComposeLand);
    DoLines(LEADCompose, 240);
    DoLines(LEADComposeLand, 320);
}

// The visible previews are the canvases' top-left corners.
void DeviceScreen::show(bool landscapeToo)
{
    LEADTheme = Raster(240, square() ? 240 : 320);
    LEADTheme.copyRect(LEADCompose, 0, 0, LEADTheme.width(), LEADTheme.height(), 0, 0);
    if (landscapeToo) {
        LEADLandscape = Raster(320, 240);
        LEADLandscape.copyRect(LEADComposeLand, 0, 0, 320, 240, 0, 0);
    } else if (LEADLandscape.isNull()) {
        LEADLandscape = Raster(320, 240);
    }
}

void DeviceScreen::DoScreenMain(const QString &view)
{
    trapLong(m_prompt, QStringLiteral("DoScreenMain"), [&] {
        // 1, 2.
        MenuShowing = false;
        // 3 - 6.
        startCanvases();
        // 7. VGA pictures are twice the size of the screen.
        const Raster *source = &m_doc.LEADMain;
        if (m_doc.ThemeType == QLatin1String("VGA") && !m_doc.LEADMain.isNull())
            source = &m_halfMain.of(m_doc.LEADMain, m_doc.LEADMain.width() / 2);
        if (!source->isNull()) {
            LEADCompose.copyRect(*source, 0, 0, 240, 293, 0, 28);
            LEADComposeLand.copyRect(*source, 0, 0, 320, 213, 0, 28);
        }
        // 8.
        const TransparencyOverlay &main = m_doc.Colours.Main;
        if (main.On) {
            LEADBuffer = Raster(320, 293);
            LEADBuffer.fill(main.Color);
            LEADCompose.blend(LEADBuffer, 0, 28, main.Level);
            LEADComposeLand.blend(LEADBuffer, 0, 28, main.Level);
        }
        // 9 - 12.
        drawBars();
        // 13.
        if (view == QLatin1String("MAIN")) {
            SliderValue = main.Level;
            SwatchColour = main.Color;
        } else if (view == QLatin1String("MENU")) {
            CreateMenuBuffer(square() ? QStringLiteral("PORTRAITSQ") : QStringLiteral("PORTRAIT"));
            LEADCompose.copyRect(LEADBuffer, 0, 0, 150, square() ? 205 : 287, 0, 28);
            CreateMenuBuffer(QStringLiteral("LANDSCAPE"));
            LEADComposeLand.copyRect(LEADBuffer, 0, 0, 150, 287, 0, 28);
            MenuShowing = true;
            SliderValue = m_doc.Colours.Menu.Level;
            SwatchColour = m_doc.Colours.Menu.Color;
        } else if (view == QLatin1String("MESSAGE") || view == QLatin1String("MESSAGEIMP")) {
            const QString kind = view == QLatin1String("MESSAGE") ? QStringLiteral("message")
                                                                  : QStringLiteral("impmessage");
            PlaceMessageBox(kind, 240);
            LEADCompose.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0, 28);
            PlaceMessageBox(kind, 320);
            LEADComposeLand.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0,
                                     28);
        } else if (view == QLatin1String("NAVIGATION")) {
            PlaceNavigationBar(QStringLiteral("PORTRAIT"));
            LEADCompose.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0, 0);
            PlaceNavigationBar(QStringLiteral("LANDSCAPE"));
            LEADComposeLand.copyRect(LEADBuffer, 0, 0, LEADBuffer.width(), LEADBuffer.height(), 0,
                                     0);
        }
        // 14. Standard and square screens have no landscape view.
        const bool landscape = m_doc.ThemeType != QLatin1String("STD") && !square();
        show(landscape);
        // 15.
        LEADCompose.free();
        LEADComposeLand.free();
        LEADBuffer.free();
    });
}

void DeviceScreen::LoadDefault()
{
    trapLong(m_prompt, QStringLiteral("LoadDefault"), [&] {
        // 2.
        PortraitFrameHeight = square() ? 242 : 322;
        // 3.
        startCanvases();
        // 4.
        const bool vga = m_doc.ThemeType == QLatin1String("VGA");
        LEADBuffer =
            LoadResourcePicture(vga ? QStringLiteral("DEFAULT640") : QStringLiteral("DEFAULT"));
        LEADBuffer.convertTo24();
        m_doc.LEADMain = Raster(640, 588);
        m_doc.LEADMain.copyRect(LEADBuffer, 0, 0, vga ? 640 : 320, vga ? 588 : 293, 0, 0);
        m_doc.LEADMenu = m_doc.LEADMain;
        if (vga)
            LEADBuffer.resize(320, 0);
        // 5.
        LEADCompose.copyRect(LEADBuffer, 0, 0, 240, 293, 0, 28);
        LEADComposeLand.copyRect(LEADBuffer, 0, 0, 320, 213, 0, 28);
        // 6.
        drawBars();
        // 7.
        show(true);
        LEADCompose.free();
        LEADComposeLand.free();
        LEADBuffer.free();
    });
}

void DeviceScreen::DoText(Raster &canvas)
{
    trapLong(m_prompt, QStringLiteral("DoText"), [&] {
        const QString &mode = m_settings.TodayText;
        if (mode == QLatin1String("none"))
            return;
        canvas.clearSelection();
        const Colour colour = m_doc.Colours.Colors[TodayTextColor];
        const bool meetings = mode == QLatin1String("all") || mode == QLatin1String("notm");
        const bool tasks = mode == QLatin1String("all");
        struct Line {
            int step;
            bool bold;
            QString text;
            bool shown;
        };
        const QString date = locale.toString(clock().date(), QLocale::LongFormat);
        const Line lines[] = {
            {0, true, date, true},
            {19, true, QStringLiteral("Owner: ") + m_settings.Name1, true},
            {13, false, QStringLiteral("(222) 555-1234"), true},
            {19, true, QStringLiteral("Meeting with ") + m_settings.Name2, meetings},
            {13, false, QStringLiteral("10:00-11:00a (333) 555-1234"), meetings},
            {13, true, QStringLiteral("Meeting with ") + m_settings.Name3, meetings},
            {13, false, QStringLiteral("1:00-2:00p (444) 555-4321"), meetings},
            {19, true, QStringLiteral("Activesync: 6 Unread Messages"), tasks},
            {19, true, QStringLiteral("3 Active Tasks"), tasks},
            {13, true, QStringLiteral("1 High Priority"), tasks},
        };
        int y = 30;
        for (const Line &l : lines) {
            if (!l.shown)
                break;
            y += l.step;
            canvas.drawText(31, y, l.text, DeviceFont(colour, l.bold));
        }
    });
}

void DeviceScreen::DoLines(Raster &canvas, int width)
{
    trapLong(m_prompt, QStringLiteral("DoLines"), [&] {
        const QString &mode = m_settings.TodayText;
        if (width == 0)
            width = 239;
        if (mode == QLatin1String("none"))
            return;
        canvas.setDrawColour(m_doc.Colours.Colors[TodayLines]);
        canvas.drawLine(0, 49, width, 49);
        if (mode == QLatin1String("all") || mode == QLatin1String("notm"))
            canvas.drawLine(0, 79, width, 79);
        if (mode == QLatin1String("all")) {
            canvas.drawLine(0, 136, width, 136);
            canvas.drawLine(0, 157, width, 157);
        }
    });
}

void DeviceScreen::LoadIconImages(Raster &buffer)
{
    trapLong(
        m_prompt, QStringLiteral("LoadIconImages"),
        [&] {
            const QString &mode = m_settings.TodayText;
            QString name;
            if (mode == QLatin1String("all"))
                name = QStringLiteral("ICONS");
            else if (mode == QLatin1String("notm"))
                name = QStringLiteral("ICONS3");
            else if (mode == QLatin1String("notmm"))
                name = QStringLiteral("ICONS2");
            else if (mode == QLatin1String("none"))
                name = QStringLiteral("ICONS0");
            if (name.isEmpty())
                return;
            buffer = LoadResourcePicture(name);
            buffer.convertTo24();
            buffer.selectColour(KeyColour);
        },
        true);
}

}  // namespace varno
