// Pixel-exact drawing for the picture generator: sprites written as text
// rows, Tango icons with hard edges, and a bitmap font drawn after the
// device's 8 pt system font, so every picture stays crisp at 1:1.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <initializer_list>
#include <utility>

namespace varno::pics {

// One colour per character of a sprite's rows; '.' is transparent.
using Palette = std::initializer_list<std::pair<char, QRgb>>;

// A sprite (ARGB32, every pixel fully opaque or fully clear) from equally
// long rows of characters.
QImage sprite(std::initializer_list<const char *> rows, Palette palette);

// Where the Tango icon theme is read from (default /usr/share/icons/Tango).
void setTangoRoot(const QString &folder);
// Tango icon `category/name` at `size`: alpha cut at one half, so the icon
// sits on any picture without a halo, and cropped to what remains.
QImage tango(const QString &name, int size = 16);

// The icon without the given rows: how a 15- or 16-row icon is brought
// down to a 14-row slot while keeping its lines one pixel wide.
QImage dropRows(const QImage &icon, std::initializer_list<int> rows);
// Opaque pixels moved to another hue (degrees), saturation and value kept.
QImage rehue(const QImage &icon, int fromHue, int toHue, int tolerance);

// Copies the opaque pixels of `icon` to (x, y) of `target` (RGB32). An
// icon pixel equal to `reserved` (the target's key colour) is nudged by one
// step so the key never appears inside an icon.
void paste(QImage &target, const QImage &icon, int x, int y, QRgb reserved);
// Same, with the icon centred in the cell.
void pasteCentred(QImage &target, const QImage &icon, const QRect &cell, QRgb reserved);

void fill(QImage &target, const QRect &area, QRgb colour);

// Bitmap text: `y` is the top of the capitals, descenders reach 9 rows
// below it. Bold doubles each stroke one pixel to the right.
int textWidth(const QString &text, bool bold);
void drawText(QImage &target, int x, int y, const QString &text, QRgb colour, bool bold);

}  // namespace varno::pics
