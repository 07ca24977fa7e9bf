// The theme's installation script: the fixed template followed by the
// registry lines that carry the profile's extras and the colour table.
#pragma once

#include "app/themecolors.h"
#include "base/prompt.h"

#include <QByteArray>
#include <QString>

namespace varno {

// Value names of the 22 colour slots, two characters wide as written in the
// script (" 5", " 8", ... "40").
const char *colourValueField(int slot);

// The whole script: `templateInf` unchanged, then the generated lines, each
// ending in CR LF. `appName` is written trimmed.
QByteArray buildInfText(const QByteArray &templateInf, const QString &themeType, bool wm5,
                        const ThemeColors &colors, const QString &appName);

// Writes "vl.inf" into `folder`. `appName` is trimmed in place. A failure is
// shown through the prompt and not passed on: packing carries on.
void saveInfFile(Prompt &prompt, const QString &folder, const QByteArray &templateInf,
                 const QString &themeType, bool wm5, const ThemeColors &colors, QString &appName);

// 8-bit text as the scripts and setup files hold it (Windows-1252; other
// characters become '?').
QByteArray toAnsi(const QString &text);

}  // namespace varno
