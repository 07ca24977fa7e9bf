// Any colours, overlay levels, profile and pictures a loaded theme can
// carry, drawn in every view: the renderer answers with pictures of the
// preview's size, never a crash.
#include "fuzz/fuzzsupport.h"

#include "app/raster/pictureio.h"
#include "colour/colortable.h"
#include "preview/devicescreen.h"

using namespace varno;

namespace {

// Reads the input front to back; past its end every byte is 0.
class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }
    Colour colour() { return rgb(next(), next(), next()); }
    QByteArray rest() const
    {
        return QByteArray(reinterpret_cast<const char *>(m_data + m_at),
                          static_cast<qsizetype>(m_size - std::min(m_at, m_size)));
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startQt();
    Bytes in(data, size);
    static const char *const types[] = {"STD", "QVGA", "VGA", "SQ240"};
    ThemeDocument doc;
    doc.themeType = QLatin1String(types[in.next() % 4]);
    doc.wm5Theme = in.next() & 1;
    doc.colours.colors = defaultThemeColors();
    for (int slot = 0; slot < SlotCount; ++slot)
        doc.colours.colors[slot] = in.colour();
    doc.colours.colors.baseHueIndex = 1 + ((in.next() << 1) | (in.next() & 1));
    doc.colours.colors.baseHueColor = in.colour();
    for (TransparencyOverlay *o : {&doc.colours.main, &doc.colours.menu}) {
        o->enabled = in.next() & 1;
        o->level = in.next();
        o->color = in.colour();
    }
    // The rest is a picture file; whatever it holds becomes both pictures.
    try {
        doc.todayPicture = loadPictureData(in.rest());
        doc.todayPicture.convertTo24();
        doc.menuPicture = doc.todayPicture;
    } catch (const RuntimeError &) {
    }
    SilentPrompt prompt;
    AppSettings settings;
    settings.todayText = QStringLiteral("all");
    DeviceScreen screen(prompt, doc, settings);
    for (const char *view : {"MAIN", "MENU", "MESSAGE", "MESSAGEIMP", "NAVIGATION"}) {
        screen.drawScreen(QLatin1String(view));
        if (screen.portraitScreen.width() != 240 || screen.landscapeScreen.width() != 320)
            __builtin_trap();
    }
    return 0;
}
