// A theme's Today picture as the cabinet stores it, read into memory. Needs
// Qt Core alone, so the small thumbnailer program can use it.
#pragma once

#include <QByteArray>
#include <QString>

namespace varno {

struct TodayMember {
    QByteArray data;  // the picture file's bytes; null when there is none
    QString problem;  // why there is none
};

// "tdywater.001", else "0stwater.001" (a theme with one picture), in any
// letter case.
TodayMember readTodayMember(const QString &theme);

}  // namespace varno
