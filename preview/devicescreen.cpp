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

TextStyle deviceFont(Colour colour, bool bold, double points)
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
    return m_doc.themeType == QLatin1String("SQ240");
}

// Steps 3 to 6 of the redraw: canvases, title gradient, WM5 edge, title
// overlay.
void DeviceScreen::startCanvases()
{
    // Only the top-left corner of a canvas ever reaches a preview, so the
    // canvases are made just that big: same pixels, less to clear per redraw.
    m_portraitCanvas = Raster(240, 320);
    m_landscapeCanvas = Raster(320, 240);
    m_portraitTitleBar = Raster(240, 50);
    m_landscapeTitleBar = Raster(320, 50);
    const ThemeColors &c = m_doc.colours.colors;
    const RampTheme ramp{m_doc.wm5Theme, c.baseHueIndex, c.baseHueColor};
    drawRamp(m_prompt, ramp, c[NavBarLeft], c[NavBarRight], m_portraitTitleBar, 240, 28, 0, false);
    drawRamp(m_prompt, ramp, c[NavBarLeft], c[NavBarRight], m_landscapeTitleBar, 320, 28, 0, false);
    m_portraitCanvas.copyRect(m_portraitTitleBar, 0, 0, 240, 28, 0, 0);
    m_landscapeCanvas.copyRect(m_landscapeTitleBar, 0, 0, 320, 28, 0, 0);
    if (m_doc.wm5Theme) {
        drawEdgeLine(m_portraitTitleBar, 240, 28);
        m_portraitCanvas.copyRect(m_portraitTitleBar, 0, 26, 240, 2, 0, 26);
        drawEdgeLine(m_landscapeTitleBar, 320, 28);
        m_landscapeCanvas.copyRect(m_landscapeTitleBar, 0, 26, 320, 2, 0, 26);
    }
    m_layer = Raster(240, 50);
    makeTitleBar(m_portraitCanvas, m_layer, QStringLiteral("PORTRAIT"));
    m_layer = Raster(320, 50);
    makeTitleBar(m_landscapeCanvas, m_layer, QStringLiteral("LANDSCAPE"));
}

// Steps 9 to 12: command bars, WM5 rows, icons, text and lines.
void DeviceScreen::drawBars()
{
    const int barTop = square() ? 214 : 296;
    drawCommandBar(m_layer, QStringLiteral("PORTRAIT"));
    m_layer.convertTo24();
    m_portraitCanvas.copyRect(m_layer, 0, 0, 240, 26, 0, barTop);
    if (m_doc.wm5Theme) {
        drawEdgeLine(m_portraitTitleBar, 240, 26);
        m_portraitCanvas.copyRect(m_portraitTitleBar, 0, square() ? 26 : 24, 240, 2, 0, barTop);
    }
    m_layer.clearSelection();

    drawCommandBar(m_layer, QStringLiteral("LANDSCAPE"));
    m_layer.convertTo24();
    m_landscapeCanvas.copyRect(m_layer, 0, 0, 320, 26, 0, 216);
    m_layer.clearSelection();
    if (m_doc.wm5Theme) {
        drawEdgeLine(m_landscapeTitleBar, 320, 26);
        m_landscapeCanvas.copyRect(m_landscapeTitleBar, 0, 24, 320, 2, 0, 216);
    }

    if (m_settings.todayText != QLatin1String("none")) {
        drawTodayIcons(m_layer);
        m_portraitCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 28);
        m_landscapeCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 28);
    }
    drawTodayText(m_portraitCanvas);
    drawTodayText(m_landscapeCanvas);
    drawTodayLines(m_portraitCanvas, 240);
    drawTodayLines(m_landscapeCanvas, 320);
}

// The visible previews are the canvases' top-left corners.
void DeviceScreen::show(bool landscapeToo)
{
    portraitScreen = Raster(240, square() ? 240 : 320);
    portraitScreen.copyRect(m_portraitCanvas, 0, 0, portraitScreen.width(), portraitScreen.height(),
                            0, 0);
    if (landscapeToo) {
        landscapeScreen = Raster(320, 240);
        landscapeScreen.copyRect(m_landscapeCanvas, 0, 0, 320, 240, 0, 0);
    } else if (landscapeScreen.isNull()) {
        landscapeScreen = Raster(320, 240);
    }
}

void DeviceScreen::drawScreen(const QString &view)
{
    trapLong(m_prompt, QStringLiteral("DoScreenMain"), [&] {
        // 1, 2.
        menuShowing = false;
        // 3 - 6.
        startCanvases();
        // VGA pictures are twice the size of the screen.
        const Raster *source = &m_doc.todayPicture;
        if (m_doc.themeType == QLatin1String("VGA") && !m_doc.todayPicture.isNull())
            source = &m_halfMain.of(m_doc.todayPicture, m_doc.todayPicture.width() / 2);
        if (!source->isNull()) {
            m_portraitCanvas.copyRect(*source, 0, 0, 240, 293, 0, 28);
            m_landscapeCanvas.copyRect(*source, 0, 0, 320, 213, 0, 28);
        }
        const TransparencyOverlay &main = m_doc.colours.main;
        if (main.enabled) {
            m_layer = Raster(320, 293);
            m_layer.fill(main.color);
            m_portraitCanvas.blend(m_layer, 0, 28, main.level);
            m_landscapeCanvas.blend(m_layer, 0, 28, main.level);
        }
        // 9 - 12.
        drawBars();
        if (view == QLatin1String("MAIN")) {
            overlayLevel = main.level;
            overlaySwatch = main.color;
        } else if (view == QLatin1String("MENU")) {
            drawStartMenu(square() ? QStringLiteral("PORTRAITSQ") : QStringLiteral("PORTRAIT"));
            m_portraitCanvas.copyRect(m_layer, 0, 0, 150, square() ? 205 : 287, 0, 28);
            drawStartMenu(QStringLiteral("LANDSCAPE"));
            m_landscapeCanvas.copyRect(m_layer, 0, 0, 150, 287, 0, 28);
            menuShowing = true;
            overlayLevel = m_doc.colours.menu.level;
            overlaySwatch = m_doc.colours.menu.color;
        } else if (view == QLatin1String("MESSAGE") || view == QLatin1String("MESSAGEIMP")) {
            const QString kind = view == QLatin1String("MESSAGE") ? QStringLiteral("message")
                                                                  : QStringLiteral("impmessage");
            placeMessageBox(kind, 240);
            m_portraitCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 28);
            placeMessageBox(kind, 320);
            m_landscapeCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 28);
        } else if (view == QLatin1String("NAVIGATION")) {
            placeNavigationBar(QStringLiteral("PORTRAIT"));
            m_portraitCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 0);
            placeNavigationBar(QStringLiteral("LANDSCAPE"));
            m_landscapeCanvas.copyRect(m_layer, 0, 0, m_layer.width(), m_layer.height(), 0, 0);
        }
        // Standard and square screens have no landscape view.
        const bool landscape = m_doc.themeType != QLatin1String("STD") && !square();
        show(landscape);
        m_portraitCanvas.free();
        m_landscapeCanvas.free();
        m_layer.free();
    });
}

void DeviceScreen::showDefaultScreen()
{
    trapLong(m_prompt, QStringLiteral("LoadDefault"), [&] {
        portraitFrameHeight = square() ? 242 : 322;
        startCanvases();
        const bool vga = m_doc.themeType == QLatin1String("VGA");
        m_layer =
            loadResourcePicture(vga ? QStringLiteral("DEFAULT640") : QStringLiteral("DEFAULT"));
        m_layer.convertTo24();
        m_doc.todayPicture = Raster(640, 588);
        m_doc.todayPicture.copyRect(m_layer, 0, 0, vga ? 640 : 320, vga ? 588 : 293, 0, 0);
        m_doc.menuPicture = m_doc.todayPicture;
        if (vga)
            m_layer.resize(320, 0);
        m_portraitCanvas.copyRect(m_layer, 0, 0, 240, 293, 0, 28);
        m_landscapeCanvas.copyRect(m_layer, 0, 0, 320, 213, 0, 28);
        drawBars();
        show(true);
        m_portraitCanvas.free();
        m_landscapeCanvas.free();
        m_layer.free();
    });
}

void DeviceScreen::drawTodayText(Raster &canvas)
{
    trapLong(m_prompt, QStringLiteral("DoText"), [&] {
        const QString &mode = m_settings.todayText;
        if (mode == QLatin1String("none"))
            return;
        canvas.clearSelection();
        const Colour colour = m_doc.colours.colors[TodayTextColor];
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
            {19, true, QStringLiteral("Owner: ") + m_settings.name1, true},
            {13, false, QStringLiteral("(222) 555-1234"), true},
            {19, true, QStringLiteral("Meeting with ") + m_settings.name2, meetings},
            {13, false, QStringLiteral("10:00-11:00a (333) 555-1234"), meetings},
            {13, true, QStringLiteral("Meeting with ") + m_settings.name3, meetings},
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
            canvas.drawText(31, y, l.text, deviceFont(colour, l.bold));
        }
    });
}

void DeviceScreen::drawTodayLines(Raster &canvas, int width)
{
    trapLong(m_prompt, QStringLiteral("DoLines"), [&] {
        const QString &mode = m_settings.todayText;
        if (width == 0)
            width = 239;
        if (mode == QLatin1String("none"))
            return;
        canvas.setDrawColour(m_doc.colours.colors[TodayLines]);
        canvas.drawLine(0, 49, width, 49);
        if (mode == QLatin1String("all") || mode == QLatin1String("notm"))
            canvas.drawLine(0, 79, width, 79);
        if (mode == QLatin1String("all")) {
            canvas.drawLine(0, 136, width, 136);
            canvas.drawLine(0, 157, width, 157);
        }
    });
}

void DeviceScreen::drawTodayIcons(Raster &buffer)
{
    trapLong(
        m_prompt, QStringLiteral("LoadIconImages"),
        [&] {
            const QString &mode = m_settings.todayText;
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
            buffer = loadResourcePicture(name);
            buffer.convertTo24();
            buffer.selectColour(KeyColour);
        },
        true);
}

}  // namespace varno
