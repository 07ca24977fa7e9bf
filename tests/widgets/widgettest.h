// Finding and working the named controls of a dialog or window.
#pragma once

#include "app/raster/raster.h"

#include <QAbstractButton>
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

// The colour inside a swatch button's outline.
inline Colour swatchColour(QObject &parent, const char *name)
{
    const QToolButton *swatch = child<QToolButton>(parent, name);
    return colourOf(swatch->icon().pixmap(swatch->iconSize()).toImage().pixel(5, 5));
}

}  // namespace varno::test
