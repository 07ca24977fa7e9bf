// The Start menu panel.
#include "preview/devicescreen.h"

#include "base/trap.h"

namespace varno {

void DeviceScreen::CreateMenuBuffer(const QString &layout)
{
    trapLong(
        m_prompt, QStringLiteral("CreateMenuBuffer"),
        [&] {
            const bool landscape = layout == QLatin1String("LANDSCAPE");
            const bool portrait = layout == QLatin1String("PORTRAIT");
            // 1, 2. A white panel the size of the screen below the title bar.
            const int w = landscape ? 320 : 240, h = landscape ? 205 : 293;
            LEADBuffer = Raster(w, h);
            LEADBuffer.fill(RGB(255, 255, 255));
            // 3. The menu picture; VGA pictures are halved first.
            const Raster *source = &m_doc.LEADMenu;
            if (!layout.endsWith(QLatin1String("SQ")) && m_doc.ThemeType == QLatin1String("VGA") &&
                !m_doc.LEADMenu.isNull())
                source = &m_halfMenu.of(m_doc.LEADMenu, 320);
            if (!source->isNull())
                LEADBuffer.copyRect(*source, 0, 0, w, h, 0, 0);
            // 4.
            const TransparencyOverlay &overlay = m_doc.Colours.Menu;
            if (overlay.On) {
                LEADMenuBuffer = Raster(150, 293);
                LEADMenuBuffer.fill(overlay.Color);
                LEADBuffer.blend(LEADMenuBuffer, 0, 0, overlay.Level);
            }
            // 5. Icons, separators and frame over the picture; the white of
            // the layer lets the picture through.
            LEADMenuBuffer =
                LoadResourcePicture(portrait ? QStringLiteral("MENUSE") : QStringLiteral("MENU"));
            LEADMenuBuffer.selectColour(RGB(255, 255, 255));
            LEADBuffer.copyRect(LEADMenuBuffer, 0, 0, 150, 287, 0, 0);
            LEADMenuBuffer.clearSelection();
            // 6.
            const TextStyle text = DeviceFont(m_doc.Colours.Colors[MenuText]);
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
                    LEADBuffer.drawText(26, e.top, QString::fromLatin1(e.name), text);
            else
                for (const Entry &e : otherEntries)
                    LEADBuffer.drawText(26, e.top, QString::fromLatin1(e.name), text);
        },
        true);
}

}  // namespace varno
