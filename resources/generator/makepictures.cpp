// Draws every embedded picture of the simulated device screen and writes
// them as PNG files named by resource. Run by hand when a picture changes:
//   varno_makepictures resources/pictures [--tango /usr/share/icons/Tango]
// Where the preview keys or recolours a picture, the pixels are exact:
// (0,255,0) is transparent, pure red and blue take theme colours, pure
// white lets the menu picture show through.
#include "background.h"
#include "icons.h"
#include "pixelart.h"

#include <QDir>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <vector>

using namespace varno::pics;

namespace {

constexpr QRgb Key = 0xFF00FF00;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Frame = 0xFF404040;
constexpr QRgb Shade = 0xFF808080;
constexpr QRgb Face = 0xFFECECEC;

QImage blank(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Centres the icon in its band; an icon that does not fit is a mistake in
// the art, not something to clip silently.
void place(QImage &target, const QImage &icon, const QRect &cell, QRgb reserved)
{
    if (icon.width() > cell.width() || icon.height() > cell.height()) {
        std::fprintf(stderr, "icon %dx%d does not fit %dx%d at (%d,%d)\n", icon.width(),
                     icon.height(), cell.width(), cell.height(), cell.x(), cell.y());
        std::exit(1);
    }
    pasteCentred(target, icon, cell, reserved);
}

// The title bar's own marks; "Start", the profile and the clock are
// written over the key by the preview, so those places stay clear.
QImage titleBar(int width)
{
    const bool wide = width == 320;
    QImage image = blank(width, 27, Key);
    place(image, startFlag(), QRect(4, 5, 16, 16), Key);
    place(image, speaker(), QRect(wide ? 244 : 165, 7, 16, 12), Key);
    const int rule = width - 23;
    fill(image, QRect(rule, 4, 1, 18), White);
    const QString label = QStringLiteral("ok");
    const int room = width - rule - 1;
    drawText(image, rule + 1 + (room - textWidth(label, true)) / 2, 9, label, White, true);
    return image;
}

// Notification tab over the title bar and the tray bar below it; the red
// takes the tray colour, the white glyphs stay.
QImage navigation(int width)
{
    QImage image = blank(width, 49, Key);
    const QRect tab(142, 0, 18, 26);
    fill(image, tab, Red);
    image.setPixel(tab.left(), 0, Key);
    image.setPixel(tab.right(), 0, Key);
    place(image, notificationBubble(), tab, Key);
    fill(image, QRect(0, 26, width, 23), Red);
    for (int i = 0; i < 5; ++i) {
        const int centre = width * (2 * i + 1) / 10;
        place(image, trayIcon(i), QRect(centre - 8, 26, 16, 23), Key);
    }
    return image;
}

// Box with a dark frame, a white inner edge, rounded corners and a header
// in the key colour that the preview fills with the message bar ramp.
QImage messageBox(int width, int height, int headerBottom, QRgb header)
{
    QImage image = blank(width, height, White);
    fill(image, QRect(0, 0, width, 1), Frame);
    fill(image, QRect(0, height - 1, width, 1), Frame);
    fill(image, QRect(0, 0, 1, height), Frame);
    fill(image, QRect(width - 1, 0, 1, height), Frame);
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1), QPoint(width - 1, height - 1)})
        image.setPixel(corner, Key);
    fill(image, QRect(QPoint(2, 2), QPoint(width - 3, headerBottom)), header);
    fill(image, QRect(2, headerBottom + 1, width - 4, 1), Shade);
    return image;
}

QImage radioButton(bool on)
{
    QImage button = sprite({"..ddddd..", ".dwwwwwd.", "dwwwwwwwd", "dwwwwwwwd", "dwwwwwwwd",
                            "dwwwwwwwd", "dwwwwwwwd", ".dwwwwwd.", "..ddddd.."},
                           {{'d', Shade}, {'w', White}});
    if (on)
        paste(button, blank(3, 3, Black), 3, 3, Key);
    return button;
}

// Raised button face: white top and left, dark bottom and right.
void raised(QImage &image, const QRect &r)
{
    fill(image, r, Frame);
    fill(image, r.adjusted(0, 0, -1, -1), White);
    fill(image, r.adjusted(1, 1, -1, -1), Shade);
    fill(image, r.adjusted(1, 1, -2, -2), Face);
}

// Volume pop-up: the preview writes "Volume" into the blue header.
QImage volumeBox()
{
    QImage image = messageBox(75, 184, 32, Blue);
    // Sunken groove of the level slider with its ticks.
    fill(image, QRect(33, 44, 1, 92), Shade);
    fill(image, QRect(34, 44, 1, 92), Frame);
    fill(image, QRect(35, 44, 1, 92), Face);
    for (int tick = 0; tick <= 10; ++tick)
        fill(image, QRect(41, 44 + tick * 9, tick % 5 == 0 ? 6 : 4, 1), Shade);
    raised(image, QRect(26, 71, 18, 9));
    for (const auto &[y, text, on] : {std::tuple{150, "On", true}, std::tuple{166, "Off", false}}) {
        paste(image, radioButton(on), 10, y - 1, Key);
        drawText(image, 23, y, QString::fromLatin1(text), Black, false);
    }
    return image;
}

// Low-battery notice; its red header takes the important message ramp.
QImage batteryNotice()
{
    QImage image = messageBox(222, 121, 33, Red);
    place(image, tango(QStringLiteral("status/battery-caution"), 32), QRect(10, 44, 32, 32), Key);
    const char *lines[] = {"Main battery very low.", "Recharge the battery",
                           "now to avoid losing data."};
    for (int i = 0; i < 3; ++i)
        drawText(image, 54, 46 + 13 * i, QString::fromLatin1(lines[i]), Black, false);
    const QRect button(160, 92, 50, 20);
    raised(image, button);
    const QString ok = QStringLiteral("OK");
    drawText(image, button.left() + (button.width() - textWidth(ok, false)) / 2, 98, ok, Black,
             false);
    return image;
}

// Strip of Today icons: the first `count` of clock, owner card, calendar,
// envelope and task list, each in its band.
QImage iconStrip(int count)
{
    static const QRect bands[] = {QRect(4, 4, 16, 15), QRect(4, 24, 16, 14), QRect(4, 56, 16, 14),
                                  QRect(4, 112, 16, 15), QRect(4, 133, 16, 16)};
    const QImage icons[] = {clockIcon(), ownerCard(), calendarIcon(), envelopeIcon(), taskList()};
    QImage image = blank(20, 177, Key);
    for (int i = 0; i < count; ++i)
        place(image, icons[i], bands[i], Key);
    return image;
}

struct MenuRow {
    const char *entry;
    int top, bottom;
};

// Icon layer of the Start menu: black frame and separators, icons at x 4-19
// of their rows, white where the menu picture shows through.
QImage menu(const std::vector<MenuRow> &rows, const std::vector<int> &separators,
            const std::vector<const char *> &recent)
{
    QImage image = blank(150, 287, White);
    for (const int y : std::vector<int>{0, 286})
        fill(image, QRect(0, y, 150, 1), Black);
    fill(image, QRect(0, 0, 1, 287), Black);
    fill(image, QRect(149, 0, 1, 287), Black);
    for (const int y : separators)
        fill(image, QRect(0, y, 150, 1), Black);
    for (const MenuRow &row : rows)
        place(image, menuIcon(QString::fromLatin1(row.entry)),
              QRect(4, row.top, 16, row.bottom - row.top + 1), White);
    for (int i = 0; i < int(recent.size()); ++i)
        place(image, menuIcon(QString::fromLatin1(recent[i])), QRect(5 + 20 * i, 3, 20, 16), White);
    return image;
}

QImage menuPortrait()
{
    return menu({{"Today", 3, 18},
                 {"ActiveSync", 23, 38},
                 {"Calendar", 43, 56},
                 {"Contents", 63, 76},
                 {"Internet Explorer", 83, 98},
                 {"Inbox", 103, 116},
                 {"Pocket Streets", 122, 135},
                 {"Notes", 143, 158},
                 {"Tasks", 162, 177},
                 {"Windows Media", 180, 195},
                 {"Games", 198, 213},
                 {"Settings", 215, 229},
                 {"Programs", 235, 249},
                 {"Find", 251, 266},
                 {"Help", 269, 284}},
                {140, 232}, {});
}

QImage menuWithRecent()
{
    return menu(
        {{"Today", 25, 40},
         {"ActiveSync", 45, 60},
         {"Calendar", 65, 78},
         {"Contents", 85, 98},
         {"Inbox", 105, 118},
         {"Internet Explorer", 125, 140},
         {"Notes", 145, 160},
         {"Tasks", 165, 180},
         {"Windows Media", 185, 200},
         {"Programs", 207, 221},
         {"Settings", 227, 241},
         {"Find", 249, 264},
         {"Help", 269, 284}},
        {21, 204, 246},
        {"Calendar", "Contents", "Inbox", "Internet Explorer", "Notes", "Windows Media", "Games"});
}

// Selection dots: pure red dots, painted in the dots colour, on pure white,
// which is left out when the picture is placed.
QImage dots()
{
    QImage image = blank(35, 35, White);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            fill(image, QRect(1 + 5 * col, 1 + 5 * row, 3, 3), Red);
    return image;
}

// The empty Today screen in the default colours, behind the internal
// colours dialog's lines and dots.
QImage emptyToday()
{
    QImage image = blank(240, 320, White);
    // The title ramp as the preview draws it: column x is x/240 of the way.
    for (int x = 0; x < 240; ++x) {
        const QRgb c = qRgb(0, qRound(128 - 128.0 * x / 240), qRound(255 - 95.0 * x / 240));
        fill(image, QRect(x, 0, 1, 28), c);
    }
    const QImage title = titleBar(240);
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x)
            if (title.pixel(x, y) != Key)
                image.setPixel(x, y, title.pixel(x, y));
    drawText(image, 31, 9, QStringLiteral("Start"), White, true);
    drawText(image, 185, 9, QStringLiteral("12:00"), White, true);
    fill(image, QRect(0, 296, 240, 1), Black);
    fill(image, QRect(0, 297, 240, 23), qRgb(80, 168, 236));
    drawText(image, 4, 303, QStringLiteral("New"), Black, true);
    return image;
}

void save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
}

}  // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (const qsizetype at = args.indexOf(QStringLiteral("--tango"));
        at >= 0 && at + 1 < args.size()) {
        setTangoRoot(args.at(at + 1));
        args.remove(at, 2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: varno_makepictures OUTPUT-FOLDER [--tango TANGO-FOLDER]\n");
        return 2;
    }
    const QDir out(args.first());
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    const QImage large = drawBackground(640, 588);
    save(large, out, QStringLiteral("DEFAULT640"));
    save(halve(large), out, QStringLiteral("DEFAULT"));
    save(halve(drawBackground(480, 440)), out, QStringLiteral("DEFAULTSQ240"));
    save(titleBar(240), out, QStringLiteral("TITLEBAR"));
    save(titleBar(320), out, QStringLiteral("TITLEBAR320"));
    save(navigation(240), out, QStringLiteral("NAVIGATION"));
    save(navigation(320), out, QStringLiteral("NAVIGATION320"));
    save(volumeBox(), out, QStringLiteral("MESSAGE-SM"));
    save(batteryNotice(), out, QStringLiteral("MESSAGE-IMP-SM"));
    save(iconStrip(5), out, QStringLiteral("ICONS"));
    save(iconStrip(3), out, QStringLiteral("ICONS3"));
    save(iconStrip(2), out, QStringLiteral("ICONS2"));
    save(iconStrip(0), out, QStringLiteral("ICONS0"));
    save(menuWithRecent(), out, QStringLiteral("MENU"));
    save(menuPortrait(), out, QStringLiteral("MENUSE"));
    save(dots(), out, QStringLiteral("DOTS"));
    save(emptyToday(), out, QStringLiteral("WORD_BLANK"));
    return 0;
}
