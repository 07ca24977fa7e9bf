// A theme's Today picture read straight out of its cabinet into memory and
// decoded at the size it is wanted: what the theme browser and the
// thumbnailer show. No scratch file is made, so any number run at once.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace varno {

struct ThemePreview {
    QImage image;     // RGB32; null when the theme cannot show one
    QSize stored;     // the picture's size as the theme holds it
    QString problem;  // why there is no picture
};

// `fit`: the largest size wanted (the picture is only ever made smaller,
// keeping its shape; JPEG pictures are decoded at the reduced scale
// directly). An empty `fit` gives the picture whole.
ThemePreview readThemePreview(const QString &theme, QSize fit = QSize());

}  // namespace varno
