// Any colours, overlay levels, profile and pictures a loaded theme can
// carry, drawn in every view: the renderer answers with pictures of the
// preview's size, never a crash.
#include "fuzz/fuzzsupport.h"

#include "app/raster/pictureio.h"
#include "colour/colortable.h"
#include "preview/devicescreen.h"

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startQt();
    // The input read front to back; past its end every byte is 0.
    size_t at = 0;
    const auto next = [&]() -> int { return at < size ? data[at++] : 0; };
    const auto colour = [&] {
        const int r = next(), g = next();
        return rgb(r, g, next());
    };
    static const char *const types[] = {"STD", "QVGA", "VGA", "SQ240"};
    ThemeDocument doc;
    doc.themeType = QLatin1String(types[next() % 4]);
    doc.wm5Theme = next() & 1;
    doc.colours.colors = defaultThemeColors();
    for (int slot = 0; slot < SlotCount; ++slot)
        doc.colours.colors[slot] = colour();
    doc.colours.colors.baseHueIndex = 1 + ((next() << 1) | (next() & 1));
    doc.colours.colors.baseHueColor = colour();
    for (TransparencyOverlay *o : {&doc.colours.main, &doc.colours.menu}) {
        o->enabled = next() & 1;
        o->level = next();
        o->color = colour();
    }
    // The rest is a picture file; whatever it holds becomes both pictures.
    try {
        doc.todayPicture = loadPictureData(
            QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(size - at)));
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
