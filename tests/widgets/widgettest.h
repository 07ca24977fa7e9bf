// Finding and working the named controls of a dialog or window.
#pragma once

#include "app/raster/raster.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QToolButton>

#include <gtest/gtest.h>

namespace varno::test {

template <typename T> T *child(QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

inline void click(QObject &parent, const char *name)
{
    if (auto *button = child<QAbstractButton>(parent, name))
        button->click();
}

// A mouse event of `type` at `at` in `widget`, with `button` the one it is
// about; for a move, the one held down.
inline void mouseAt(QWidget *widget, QEvent::Type type, QPointF at,
                    Qt::MouseButton button = Qt::NoButton)
{
    const bool move = type == QEvent::MouseMove;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget->mapToGlobal(at), move ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// The colour inside a swatch button's outline.
inline Colour swatchColour(QObject &parent, const char *name)
{
    const QToolButton *swatch = child<QToolButton>(parent, name);
    return colourOf(swatch->icon().pixmap(swatch->iconSize()).toImage().pixel(5, 5));
}

}  // namespace varno::test
