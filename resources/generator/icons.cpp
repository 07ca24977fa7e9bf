// Icon art. Hand-drawn sprites are pixel-exact; Tango icons are cut to hard
// edges and, where a row band is only 14 pixels high, lose a row or two
// that repeats its neighbour.
#include "icons.h"

#include "pixelart.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace varno::pics {

namespace {
constexpr QRgb White = 0xFFFFFFFF;
}

QImage startFlag()
{
    // Four panes, the right pair dipping as the flag waves, with a one-pixel
    // shadow below and to the right so it holds on a light bar as on a dark one.
    const QImage panes =
        sprite({".RRRRRR.........", ".RRRRRR.GGGGGG..", ".RRRRRR.GGGGGGG.", ".RRRRRR.GGGGGGG.",
                ".RRRRRR.GGGGGGG.", ".RRRRRR.GGGGGGG.", "........GGGGGGG.", ".BBBBBB.......G.",
                ".BBBBBB.YYYYYY..", ".BBBBBB.YYYYYYY.", ".BBBBBB.YYYYYYY.", ".BBBBBB.YYYYYYY.",
                ".BBBBBB.YYYYYYY.", "........YYYYYYY.", "..............Y.", "................"},
               {{'R', qRgb(240, 72, 36)},
                {'G', qRgb(100, 200, 56)},
                {'B', qRgb(80, 168, 255)},
                {'Y', qRgb(255, 208, 32)}});
    QImage flag = panes;
    for (int y = 0; y + 1 < panes.height(); ++y)
        for (int x = 0; x + 1 < panes.width(); ++x)
            if (qAlpha(panes.pixel(x, y)) && !qAlpha(panes.pixel(x + 1, y + 1)))
                flag.setPixel(x + 1, y + 1, qRgba(0, 0, 48, 255));
    return flag.copy(1, 0, 15, 16);
}

QImage speaker()
{
    return sprite({"......W.......", ".....WW....W..", "....WWW.....W.", "WWWWWW..W...W.",
                   "WWWWWW...W...W", "WWWWWW...W...W", "WWWWWW...W...W", "WWWWWW...W...W",
                   "WWWWWW..W...W.", "....WWW.....W.", ".....WW....W..", "......W......."},
                  {{'W', White}});
}

QImage trayIcon(int index)
{
    switch (index) {
    case 0:  // connection: data going out and coming in
        return sprite({"..W.......", ".WWW......", "WWWWW.....", "..W.......", "..W....W..",
                       "..W....W..", "..W....W..", "..W....W..", ".......W..", ".....WWWWW",
                       "......WWW.", ".......W.."},
                      {{'W', White}});
    case 1: return speaker();
    case 2:  // battery, nearly full
        return sprite({"WWWWWWWWWWWW..", "W..........W..", "W.WWWWWWW..WWW", "W.WWWWWWW..W.W",
                       "W.WWWWWWW..W.W", "W.WWWWWWW..WWW", "W..........W..", "WWWWWWWWWWWW.."},
                      {{'W', White}});
    case 3:  // signal strength
        return sprite({"..........WW", "..........WW", ".......WW.WW", ".......WW.WW",
                       "....WW.WW.WW", "....WW.WW.WW", ".WW.WW.WW.WW", ".WW.WW.WW.WW",
                       ".WW.WW.WW.WW"},
                      {{'W', White}});
    default:  // alarm clock face
        return sprite({"....WWWWW....", "..WW.....WW..", ".W....W....W.", ".W....W....W.",
                       "W.....W.....W", "W.....W.....W", "W.....WWWW..W", "W...........W",
                       "W...........W", ".W.........W.", ".W.........W.", "..WW.....WW..",
                       "....WWWWW...."},
                      {{'W', White}});
    }
}

QImage notificationBubble()
{
    return sprite({".WWWWWWWWWW.", "WWWWWRRWWWWW", "WWWWWRRWWWWW", "WWWWWRRWWWWW", "WWWWWRRWWWWW",
                   "WWWWWWWWWWWW", "WWWWWRRWWWWW", ".WWWWWWWWWW.", "...WWW......", "...WW.......",
                   "...W........"},
                  {{'W', White}, {'R', qRgb(255, 0, 0)}});
}

QImage clockIcon()
{
    return sprite({".....ooooo.....", "...oosssssoo...", "..osswwgwwsso..", ".osswwwkwwwsso.",
                   ".oswwwwkwwwwso.", "oswwwwwkwwwwwso", "oswwwwwkwwwwwso", "osgwwwwkkkkwgso",
                   "oswwwwwwwwwwwSo", "oswwwwwwwwwwwSo", ".oswwwwwwwwwSo.", ".osswwwwwwwSSo.",
                   "..ossswgwwSSo..", "...ooSSSSSoo...", ".....ooooo....."},
                  {{'o', qRgb(46, 64, 120)},
                   {'s', qRgb(186, 198, 224)},
                   {'S', qRgb(136, 150, 184)},
                   {'w', White},
                   {'g', qRgb(120, 120, 132)},
                   {'k', qRgb(24, 24, 24)}});
}

QImage ownerCard()
{
    return sprite({"oooooooooooooooo", "owwwwwwwwwwwwwwo", "owwwhhhwwwwwwwwo", "owwhssshwwllllwo",
                   "owwhssshwwwwwwwo", "owwwssswwwllllwo", "owwwwswwwwwwwwwo", "owwbbbbbwwllllwo",
                   "owbbbbbbbwwwwwwo", "owbbbbbbbwlllwwo", "owbbbbbbbwwwwwwo", "owwwwwwwwwwwwwwo",
                   "oddddddddddddddo", "oooooooooooooooo"},
                  {{'o', qRgb(96, 96, 96)},
                   {'w', qRgb(252, 250, 240)},
                   {'d', qRgb(214, 210, 196)},
                   {'h', qRgb(120, 72, 32)},
                   {'s', qRgb(240, 196, 150)},
                   {'b', qRgb(52, 101, 164)},
                   {'l', qRgb(150, 150, 150)}});
}

QImage calendarIcon()
{
    // Rows 0 and 3 repeat the binder rings and the header; the page keeps
    // its date.
    return dropRows(tango(QStringLiteral("mimetypes/x-office-calendar")), {0, 3});
}

QImage envelopeIcon()
{
    return tango(QStringLiteral("apps/internet-mail"));
}

QImage taskList()
{
    // Tango's clipboard with its page replaced by three ticked tasks.
    QImage icon = tango(QStringLiteral("actions/edit-paste"));
    const QImage page =
        sprite({"pppvpppp", "vpvppllp", "pvpppppp", "pppvpppp", "vpvppllp", "pvpppppp", "pppvpppp",
                "vpvppllp", "pvpppppp"},
               {{'p', qRgb(246, 246, 244)}, {'v', qRgb(46, 140, 30)}, {'l', qRgb(136, 138, 133)}});
    // Column 4 of the page becomes 3 once the empty first column is cut.
    paste(icon, page, 3, 3, qRgb(0, 255, 0));
    return icon;
}

namespace {

QImage streetMap()
{
    return sprite({"oooooooooooooooo", "opppppwwppppyppo", "opppppwwppppyppo", "orrrrrrrrrrrrrro",
                   "oppppwwpppppyppo", "oppppwwppkkkyppo", "opppwwppkRRRkppo", "oyyyyyyykRRRkyyo",
                   "oppwwppppkRkpppo", "oppwwppppkRkpppo", "opwwppppppkpyppo", "opwwppppppppyppo",
                   "owwpppppppppyppo", "oooooooooooooooo"},
                  {{'o', qRgb(96, 96, 86)},
                   {'p', qRgb(214, 232, 190)},
                   {'w', qRgb(110, 170, 230)},
                   {'r', qRgb(232, 124, 40)},
                   {'y', qRgb(250, 226, 110)},
                   {'R', qRgb(220, 32, 32)},
                   {'k', qRgb(110, 20, 20)}});
}

QImage syncIcon()
{
    // Tango's blue refresh arrows turned green, the colour of a device link.
    return rehue(tango(QStringLiteral("actions/view-refresh")), 213, 110, 30);
}

}  // namespace

QImage menuIcon(const QString &entry)
{
    static const std::map<QString, std::function<QImage()>> icons = {
        {QStringLiteral("Today"), startFlag},
        {QStringLiteral("ActiveSync"), syncIcon},
        {QStringLiteral("Calendar"), calendarIcon},
        {QStringLiteral("Contents"), ownerCard},
        {QStringLiteral("Internet Explorer"),
         [] { return tango(QStringLiteral("apps/internet-web-browser")); }},
        {QStringLiteral("Inbox"), envelopeIcon},
        {QStringLiteral("Pocket Streets"), streetMap},
        {QStringLiteral("Notes"),
         [] { return tango(QStringLiteral("apps/accessories-text-editor")); }},
        {QStringLiteral("Tasks"), taskList},
        {QStringLiteral("Windows Media"),
         [] { return tango(QStringLiteral("mimetypes/audio-x-generic")); }},
        {QStringLiteral("Games"),
         [] { return tango(QStringLiteral("categories/applications-games")); }},
        {QStringLiteral("Settings"),
         [] { return tango(QStringLiteral("categories/preferences-system")); }},
        {QStringLiteral("Programs"), [] { return tango(QStringLiteral("places/folder")); }},
        {QStringLiteral("Find"), [] { return tango(QStringLiteral("actions/system-search")); }},
        {QStringLiteral("Help"), [] { return tango(QStringLiteral("apps/help-browser")); }},
    };
    const auto it = icons.find(entry);
    if (it == icons.end()) {
        std::fprintf(stderr, "no icon for the entry %s\n", qPrintable(entry));
        std::exit(1);
    }
    return it->second();
}

}  // namespace varno::pics
