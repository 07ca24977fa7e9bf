#include "app/profiles.h"

namespace varno {

const std::array<DeviceProfile, ProfileCount> &profiles()
{
    using K = ImageDialogKind;
    static const std::array<DeviceProfile, ProfileCount> table{{
        {"mnuNewStandard",
         "New Theme - Standard",
         "STD",
         false,
         0,
         false,
         K::Standard,
         {240, 294},
         {240, 294},
         {1, 1, 239, 292},
         "DEFAULT"},
        {"mnuNewQVGA",
         "New Theme - QVGA",
         "QVGA",
         false,
         1,
         true,
         K::SE,
         {320, 294},
         {320, 294},
         {1, 1, 319, 292},
         "DEFAULT"},
        {"mnuNewVGA",
         "New Theme - VGA",
         "VGA",
         false,
         2,
         true,
         K::VGA,
         {640, 588},
         {640, 588},
         {2, 2, 399, 587},
         "DEFAULT640"},
        {"mnuNewSQ240",
         "New Theme - Square 240",
         "SQ240",
         false,
         -1,
         false,
         K::Square,
         {240, 214},
         {240, 214},
         {1, 1, 239, 213},
         "DEFAULT"},
        {"mnuNewWM5QVGA",
         "New WM5 Theme - QVGA",
         "QVGA",
         true,
         -1,
         true,
         K::SE,
         {320, 294},
         {320, 294},
         {1, 1, 319, 292},
         "DEFAULT"},
        {"mnuNewWM5VGA",
         "New WM5 Theme - VGA",
         "VGA",
         true,
         -1,
         true,
         K::VGA,
         {640, 588},
         {640, 588},
         {2, 2, 399, 587},
         "DEFAULT640"},
        {"mnuNewWM5SQ240",
         "New WM5 Theme - Square 240",
         "SQ240",
         true,
         -1,
         false,
         K::Square,
         {240, 214},
         {240, 214},
         {1, 1, 239, 213},
         "DEFAULT"},
    }};
    return table;
}

int profileIndexFor(const QString &themeType, bool wm5)
{
    // "STD" has no WM5 variant: its plain item is checked whatever the flag.
    const bool wantWm5 = wm5 && themeType != QLatin1String("STD");
    for (int i = 0; i < ProfileCount; ++i)
        if (themeType == QLatin1String(profiles()[i].themeType) &&
            profiles()[i].wm5Theme == wantWm5)
            return i;
    return -1;
}

ImageDialogKind changeImagesDialogFor(const QString &themeType)
{
    if (themeType == QLatin1String("STD"))
        return ImageDialogKind::Standard;
    if (themeType == QLatin1String("QVGA"))
        return ImageDialogKind::SE;
    if (themeType == QLatin1String("SQ240"))
        return ImageDialogKind::Square;
    return ImageDialogKind::VGA;
}

const DeviceProfile &saveGeometryFor(const QString &themeType)
{
    for (const DeviceProfile &p : profiles())
        if (!p.wm5Theme && themeType == QLatin1String(p.themeType))
            return p;
    return profiles()[2];
}

int themeNameKeyFilter(int code)
{
    if (code < 32)
        return code;  // control keys such as backspace
    if ((code >= 33 && code <= 44) || code == 47 || (code >= 58 && code <= 64) ||
        (code >= 91 && code <= 94) || code == 96 || code > 122)
        return 0;
    return code;
}

QString filterThemeName(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        // Pasted line breaks and tabs are not keys the user typed.
        if (c.unicode() >= 32 && themeNameKeyFilter(c.unicode()) != 0)
            out += c;
    }
    return out;
}

}  // namespace varno
