// The default Today picture: a blue field, lighter towards the top left
// where the Today items are read in black, with sheaves of light wave lines
// through the lower half.
#include "background.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace varno::pics {

namespace {

// The design is laid out on the largest picture, 640 x 588.
constexpr double DesignWidth = 640;
constexpr double DesignHeight = 588;

struct Wave {
    double centre, amplitude, phase, ripple, ripplePhase, slope;
    double y(double x) const
    {
        constexpr double Long = 2 * M_PI / 760, Short = 2 * M_PI / 270;
        return centre + amplitude * std::sin(x * Long + phase) +
               ripple * std::sin(x * Short + ripplePhase) + slope * x;
    }
};

QPainterPath pathOf(const Wave &w)
{
    QPainterPath path;
    path.moveTo(-20, w.y(-20));
    for (double x = -16; x <= DesignWidth + 20; x += 4)
        path.lineTo(x, w.y(x));
    return path;
}

// A wave of sheaf `t` (0..1): neighbours differ a little in every
// parameter, so the lines fan out and gather again like silk.
Wave sheafWave(double t, bool second)
{
    if (!second)
        return {352 + 140 * t, 62 - 26 * t, 0.6 + 1.1 * t, 16 + 6 * t, 2.2 + 2.4 * t, -0.19};
    return {560 - 90 * t, 48 + 20 * t, 3.4 - 0.9 * t, 10 - 4 * t, 0.4 + 1.8 * t, -0.34};
}

void drawSheaf(QPainter &p, bool second, int lines)
{
    // A faint veil between the outermost lines gives the sheaf a body.
    const Wave first = sheafWave(0, second), last = sheafWave(1, second);
    QPainterPath veil = pathOf(first);
    for (double x = DesignWidth + 20; x >= -20; x -= 4)
        veil.lineTo(x, last.y(x));
    veil.closeSubpath();
    p.fillPath(veil, QColor(255, 255, 255, second ? 14 : 22));

    for (int i = 0; i < lines; ++i) {
        const double t = double(i) / (lines - 1);
        const QPainterPath path = pathOf(sheafWave(t, second));
        // Brightest a third of the way in, fading towards both edges.
        const double light = 1 - std::min(1.0, std::abs(t - 0.35) * 1.6);
        p.strokePath(path, QPen(QColor(255, 255, 255, int(10 + 14 * light)), 9));
        p.strokePath(path, QPen(QColor(255, 255, 255, int(70 + 170 * light)), 1.3 + 1.2 * light));
    }
}

}  // namespace

QImage drawBackground(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / DesignWidth, height / DesignHeight);
    const QRectF all(0, 0, DesignWidth, DesignHeight);

    QLinearGradient field(0, 0, DesignWidth * 0.7, DesignHeight);
    field.setColorAt(0, QColor(186, 216, 250));
    field.setColorAt(0.45, QColor(96, 152, 228));
    field.setColorAt(1, QColor(12, 40, 118));
    p.fillRect(all, field);

    QRadialGradient glow(QPointF(120, 70), 430);
    glow.setColorAt(0, QColor(255, 255, 255, 110));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(all, glow);

    drawSheaf(p, true, 8);
    drawSheaf(p, false, 15);

    // Deepen the bottom edge so the command bar stands on a dark ground.
    QLinearGradient floor(0, DesignHeight * 0.7, 0, DesignHeight);
    floor.setColorAt(0, QColor(0, 10, 60, 0));
    floor.setColorAt(1, QColor(0, 10, 60, 90));
    p.fillRect(all, floor);
    return image;
}

QImage halve(const QImage &image)
{
    QImage out(image.width() / 2, image.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb c = image.pixel(2 * x + dx, 2 * y + dy);
                    r += qRed(c), g += qGreen(c), b += qBlue(c);
                }
            out.setPixel(x, y, qRgb((r + 2) / 4, (g + 2) / 4, (b + 2) / 4));
        }
    return out;
}

}  // namespace varno::pics
