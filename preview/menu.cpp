// The Start menu panel.
#include "preview/devicescreen.h"

#include "base/trap.h"

namespace varno {

void DeviceScreen::drawStartMenu(const QString &layout)
{
    trapLong(
        m_prompt, QStringLiteral("CreateMenuBuffer"),
        [&] {
            const bool landscape = layout == QLatin1String("LANDSCAPE");
            const bool portrait = layout == QLatin1String("PORTRAIT");
            // 1, 2. A white panel the size of the screen below the title bar.
            const int w = landscape ? 320 : 240, h = landscape ? 205 : 293;
            m_layer = Raster(w, h);
            m_layer.fill(rgb(255, 255, 255));
            // The menu picture; VGA pictures are halved first.
            const Raster *source = &m_doc.menuPicture;
            if (!layout.endsWith(QLatin1String("SQ")) && m_doc.themeType == QLatin1String("VGA") &&
                !m_doc.menuPicture.isNull())
                source = &m_halfMenu.of(m_doc.menuPicture, 320);
            if (!source->isNull())
                m_layer.copyRect(*source, 0, 0, w, h, 0, 0);
            const TransparencyOverlay &overlay = m_doc.colours.menu;
            if (overlay.enabled) {
                m_menuLayer = Raster(150, 293);
                m_menuLayer.fill(overlay.color);
                m_layer.blend(m_menuLayer, 0, 0, overlay.level);
            }
            // Icons, separators and frame over the picture; the white of
            // the layer lets the picture through.
            m_menuLayer =
                loadResourcePicture(portrait ? QStringLiteral("MENUSE") : QStringLiteral("MENU"));
            m_menuLayer.selectColour(rgb(255, 255, 255));
            m_layer.copyRect(m_menuLayer, 0, 0, 150, 287, 0, 0);
            m_menuLayer.clearSelection();
            const TextStyle text = deviceFont(m_doc.colours.colors[MenuText]);
            struct Entry {
                const char *name;
                int top;
            };
            static constexpr Entry portraitEntries[] = {{"Today", 7},
                                                        {"ActiveSync", 26},
                                                        {"Calendar", 45},
                                                        {"Contents", 64},
                                                        {"Internet Explorer", 84},
                                                        {"Inbox", 103},
                                                        {"Pocket Streets", 122},
                                                        {"Notes", 142},
                                                        {"Tasks", 161},
                                                        {"Windows Media", 180},
                                                        {"Games", 199},
                                                        {"Settings", 218},
                                                        {"Programs", 237},
                                                        {"Find", 254},
                                                        {"Help", 272}};
            static constexpr Entry otherEntries[] = {
                {"Today", 28},    {"ActiveSync", 46}, {"Calendar", 66},
                {"Contents", 86}, {"Inbox", 106},     {"Internet Explorer", 126},
                {"Notes", 146},   {"Tasks", 168},     {"Windows Media", 188}};
            if (portrait)
                for (const Entry &e : portraitEntries)
                    m_layer.drawText(26, e.top, QString::fromLatin1(e.name), text);
            else
                for (const Entry &e : otherEntries)
                    m_layer.drawText(26, e.top, QString::fromLatin1(e.name), text);
        },
        true);
}

}  // namespace varno
