// The 16-pixel icons of the simulated device: hand-drawn pixel art, or
// Tango icons given hard edges (see resources/pictures/SOURCES.md).
#pragma once

#include <QImage>
#include <QString>

namespace varno::pics {

// Title bar and tray glyphs, white (or four-coloured) for a coloured bar.
QImage startFlag();
QImage speaker();
// Tray glyphs 0-4: connection, speaker, battery, signal, clock.
QImage trayIcon(int index);
// White speech bubble whose mark is pure red, so it takes the tray colour.
QImage notificationBubble();

// Today items, each no taller than its row band.
QImage clockIcon();
QImage ownerCard();
QImage calendarIcon();
QImage envelopeIcon();
QImage taskList();

// Icon of a Start menu entry by its name ("Today", "ActiveSync" ...).
QImage menuIcon(const QString &entry);

}  // namespace varno::pics
