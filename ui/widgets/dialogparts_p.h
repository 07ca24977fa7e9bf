// Small pieces the dialog widgets share: pictures shown at 1:1, colour
// swatches, option groups that may have nothing selected.
#pragma once

#include "app/raster/raster.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace varno {

// Shows `picture` pixel for pixel; the label takes exactly its size, so
// label coordinates are picture coordinates.
inline void showPicture(QLabel *label, const Raster &picture)
{
    label->setPixmap(QPixmap::fromImage(picture.image()));
    label->setFixedSize(picture.width(), picture.height());
}

// A flat patch of the colour with a thin outline, so white shows on white.
inline QIcon swatchIcon(Colour colour, QSize size)
{
    QPixmap patch(size);
    patch.fill(QColor::fromRgb(pixelOf(colour)));
    QPainter painter(&patch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(patch);
}

// A picture that reports pointer moves over it in picture pixels.
class PictureLabel : public QLabel {
public:
    explicit PictureLabel(QWidget *parent = nullptr) : QLabel(parent)
    {
        setMouseTracking(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setContentsMargins(0, 0, 0, 0);
    }

    std::function<void(int x, int y)> onMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        // While a button is held, moves keep arriving from outside the
        // picture; only those over it count.
        const QPoint p(static_cast<int>(std::floor(event->position().x())),
                       static_cast<int>(std::floor(event->position().y())));
        if (onMouseMove && rect().contains(p))
            onMouseMove(p.x(), p.y());
        QLabel::mouseMoveEvent(event);
    }
};

// Checks option `id` of an exclusive group; -1 clears the group, which an
// exclusive group only allows while exclusivity is off.
inline void checkOption(QButtonGroup *group, int id)
{
    if (QAbstractButton *button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace varno
