// Sprites, Tango icons, pastes and the bitmap font of the picture generator.
#include "pixelart.h"

#include <QColor>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace varno::pics {

namespace {

QString g_tangoRoot = QStringLiteral("/usr/share/icons/Tango");

// Glyphs of the bitmap font, rows top to bottom separated by '/': capitals
// and ascenders use rows 0-7, the x-height rows 2-7, descenders rows 8-9.
// Shapes follow the proportions of an 11-pixel humanist sans.
const std::map<char, const char *> &glyphs()
{
    static const std::map<char, const char *> table = {
        {' ', "..."},
        {'.', "./././././././#"},
        {',', "./././././././#/#"},
        {':', "./././#/./././#"},
        {'0', ".###./#...#/#...#/#...#/#...#/#...#/#...#/.###."},
        {'1', "..#../.##../..#../..#../..#../..#../..#../.###."},
        {'2', ".###./#...#/....#/...#./..#../.#.../#..../#####"},
        {'3', ".###./#...#/....#/..##./....#/....#/#...#/.###."},
        {'4', "...#./..##./.#.#./#..#./#####/...#./...#./...#."},
        {'5', "#####/#..../#..../####./....#/....#/#...#/.###."},
        {'6', "..##./.#.../#..../####./#...#/#...#/#...#/.###."},
        {'7', "#####/....#/...#./...#./..#../..#../.#.../.#..."},
        {'8', ".###./#...#/#...#/.###./#...#/#...#/#...#/.###."},
        {'9', ".###./#...#/#...#/#...#/.####/....#/...#./.##.."},
        {'C', ".####/#..../#..../#..../#..../#..../#..../.####"},
        {'K', "#...#/#..#./#.#../##.../##.../#.#../#..#./#...#"},
        {'M', "#.....#/##...##/##...##/#.#.#.#/#.#.#.#/#..#..#/#..#..#/#.....#"},
        {'N', "#....#/##...#/#.#..#/#.#..#/#..#.#/#..#.#/#...##/#....#"},
        {'O', ".####./#....#/#....#/#....#/#....#/#....#/#....#/.####."},
        {'R', "####./#...#/#...#/####./#.#../#..#./#...#/#...#"},
        {'S', ".###./#...#/#..../.###./....#/....#/#...#/.###."},
        {'T', "#####/..#../..#../..#../..#../..#../..#../..#.."},
        {'a', "...../...../.###./....#/.####/#...#/#...#/.####"},
        {'b', "#..../#..../####./#...#/#...#/#...#/#...#/####."},
        {'c', "..../..../.###/#.../#.../#.../#.../.###"},
        {'d', "....#/....#/.####/#...#/#...#/#...#/#...#/.####"},
        {'e', "...../...../.###./#...#/#####/#..../#...#/.###."},
        {'f', ".##/#../###/#../#../#../#../#.."},
        {'g', "...../...../.####/#...#/#...#/#...#/#...#/.####/....#/.###."},
        {'h', "#..../#..../####./#...#/#...#/#...#/#...#/#...#"},
        {'i', "#/./#/#/#/#/#/#"},
        {'j', ".#/../.#/.#/.#/.#/.#/.#/.#/#."},
        {'k', "#..../#..../#...#/#..#./#.#../###../#..#./#...#"},
        {'l', "#/#/#/#/#/#/#/#"},
        {'m', "......./......./###.##./#..#..#/#..#..#/#..#..#/#..#..#/#..#..#"},
        {'n', "...../...../####./#...#/#...#/#...#/#...#/#...#"},
        {'o', "...../...../.###./#...#/#...#/#...#/#...#/.###."},
        {'p', "...../...../####./#...#/#...#/#...#/#...#/####./#..../#...."},
        {'q', "...../...../.####/#...#/#...#/#...#/#...#/.####/....#/....#"},
        {'r', "..../..../#.##/##../#.../#.../#.../#..."},
        {'s', "..../..../.###/#.../#.../.##./...#/###."},
        {'t', ".../#../###/#../#../#../#../.##"},
        {'u', "...../...../#...#/#...#/#...#/#...#/#...#/.####"},
        {'v', "...../...../#...#/#...#/.#.#./.#.#./..#../..#.."},
        {'w', "......./......./#..#..#/#..#..#/#.#.#.#/#.#.#.#/.#...#./.#...#."},
        {'x', "...../...../#...#/.#.#./..#../..#../.#.#./#...#"},
        {'y', "...../...../#...#/#...#/.#.#./.#.#./..#../..#../.#.../.#..."},
        {'z', "..../..../####/...#/..#./.#../#.../####"},
    };
    return table;
}

QStringList glyphRows(QChar c)
{
    const auto it = glyphs().find(c.toLatin1());
    if (it == glyphs().end()) {
        std::fprintf(stderr, "no glyph for '%c'\n", c.toLatin1());
        std::exit(1);
    }
    return QString::fromLatin1(it->second).split(QLatin1Char('/'));
}

// The key colour moved off itself, staying as close as a channel step.
QRgb nudged(QRgb c)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    return g > 0 ? qRgb(r, g - 1, b) : qRgb(r, g + 1, b);
}

}  // namespace

QImage sprite(std::initializer_list<const char *> rows, Palette palette)
{
    QHash<char, QRgb> colours;
    for (const auto &p : palette)
        colours.insert(p.first, p.second);
    const int width = int(qstrlen(*rows.begin()));
    QImage out(width, int(rows.size()), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    int y = 0;
    for (const char *row : rows) {
        if (int(qstrlen(row)) != width) {
            std::fprintf(stderr, "sprite row %d is %d wide, not %d\n", y, int(qstrlen(row)), width);
            std::exit(1);
        }
        for (int x = 0; x < width; ++x) {
            if (row[x] == '.')
                continue;
            if (!colours.contains(row[x])) {
                std::fprintf(stderr, "sprite colour '%c' missing\n", row[x]);
                std::exit(1);
            }
            out.setPixel(x, y, colours.value(row[x]) | 0xFF000000u);
        }
        ++y;
    }
    return out;
}

void setTangoRoot(const QString &folder)
{
    g_tangoRoot = folder;
}

QImage tango(const QString &name, int size)
{
    const QString path =
        QStringLiteral("%1/%2x%2/%3.png").arg(g_tangoRoot, QString::number(size), name);
    QImage in(path);
    if (in.isNull()) {
        std::fprintf(stderr, "cannot read %s (install tango-icon-theme)\n", qPrintable(path));
        std::exit(1);
    }
    in = in.convertToFormat(QImage::Format_ARGB32);
    QRect used;
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const QRgb p = in.pixel(x, y);
            // Colours are stored unpremultiplied, so an edge pixel keeps its
            // full colour once made opaque.
            if (qAlpha(p) >= 128) {
                in.setPixel(x, y, p | 0xFF000000u);
                used |= QRect(x, y, 1, 1);
            } else {
                in.setPixel(x, y, 0);
            }
        }
    return in.copy(used);
}

QImage dropRows(const QImage &icon, std::initializer_list<int> rows)
{
    QImage out(icon.width(), icon.height() - int(rows.size()), QImage::Format_ARGB32);
    int to = 0;
    for (int y = 0; y < icon.height(); ++y) {
        if (std::find(rows.begin(), rows.end(), y) != rows.end())
            continue;
        for (int x = 0; x < icon.width(); ++x)
            out.setPixel(x, to, icon.pixel(x, y));
        ++to;
    }
    return out;
}

QImage rehue(const QImage &icon, int fromHue, int toHue, int tolerance)
{
    QImage out = icon;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            QColor c = QColor::fromRgb(p).toHsv();
            if (c.hsvSaturation() < 40 || std::abs(c.hsvHue() - fromHue) > tolerance)
                continue;
            c.setHsv(toHue + c.hsvHue() - fromHue, c.hsvSaturation(), c.value());
            out.setPixel(x, y, c.rgb());
        }
    return out;
}

void paste(QImage &target, const QImage &icon, int x, int y, QRgb reserved)
{
    for (int sy = 0; sy < icon.height(); ++sy)
        for (int sx = 0; sx < icon.width(); ++sx) {
            const QRgb p = icon.pixel(sx, sy);
            if (qAlpha(p) == 0 || !target.rect().contains(x + sx, y + sy))
                continue;
            const QRgb c = p | 0xFF000000u;
            target.setPixel(x + sx, y + sy, c == (reserved | 0xFF000000u) ? nudged(c) : c);
        }
}

void pasteCentred(QImage &target, const QImage &icon, const QRect &cell, QRgb reserved)
{
    paste(target, icon, cell.left() + (cell.width() - icon.width()) / 2,
          cell.top() + (cell.height() - icon.height()) / 2, reserved);
}

void fill(QImage &target, const QRect &area, QRgb colour)
{
    const QRect r = area & target.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            target.setPixel(x, y, colour | 0xFF000000u);
}

int textWidth(const QString &text, bool bold)
{
    int width = 0;
    for (const QChar c : text)
        width += int(glyphRows(c).first().size()) + (bold ? 2 : 1);
    return width > 0 ? width - 1 : 0;
}

void drawText(QImage &target, int x, int y, const QString &text, QRgb colour, bool bold)
{
    for (const QChar c : text) {
        const QStringList rows = glyphRows(c);
        for (int row = 0; row < rows.size(); ++row)
            for (int col = 0; col < rows[row].size(); ++col) {
                if (rows[row][col] != QLatin1Char('#'))
                    continue;
                for (int dx = 0; dx <= (bold ? 1 : 0); ++dx)
                    if (target.rect().contains(x + col + dx, y + row))
                        target.setPixel(x + col + dx, y + row, colour | 0xFF000000u);
            }
        x += int(rows.first().size()) + (bold ? 2 : 1);
    }
}

}  // namespace varno::pics
