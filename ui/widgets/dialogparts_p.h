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

// A picture to choose a point on, in picture pixels: the left button
// chooses where it goes down and wherever it is dragged. Passing over the
// picture chooses nothing, so the way to a button never changes the choice.
class PictureLabel : public QLabel {
public:
    explicit PictureLabel(QWidget *parent = nullptr) : QLabel(parent)
    {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setContentsMargins(0, 0, 0, 0);
        setCursor(Qt::CrossCursor);
    }

    std::function<void(int x, int y)> onChoose;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            choose(event->position());
        QLabel::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            choose(event->position());
        QLabel::mouseMoveEvent(event);
    }

private:
    void choose(QPointF at)
    {
        // A drag goes on reporting from outside the picture; only points on
        // it count.
        const QPoint p(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
        if (onChoose && rect().contains(p))
            onChoose(p.x(), p.y());
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
