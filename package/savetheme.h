// Saving the theme document as a .tsk file: the two pictures at the
// profile's size, the installation script, our cabinet wizard, and the move
// into the theme folder.
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/themedocument.h"
#include "base/prompt.h"
#include "colour/palettes.h"

#include <QByteArray>
#include <QString>

namespace varno {

// What saving reads and changes: the document (CurrentThemeName), the theme
// folder (themesFolder) and the working folder.
struct ThemeContext {
    Prompt &prompt;
    ThemeDocument &doc;
    AppSettings &settings;
    const AppPaths &paths;
    const QByteArray &templateInf;
    const Palettes &palettes;
};

// Compression codes of the save commands.
inline const QString CompressionNone = QStringLiteral("NONE");
inline const QString CompressionMedium = QStringLiteral("16MLow");
inline const QString CompressionHigh = QStringLiteral("16MHigh");

// Saves the theme. An empty `target` asks for the file and confirms at the
// end; otherwise `target` is the full path of the .tsk. Returns true when
// the theme file was written. An existing theme file is replaced only once
// the new one is complete. The file written goes to `savedTo`.
bool saveTheme(ThemeContext &ctx, const QString &compression, const QString &target,
               QString *savedTo = nullptr);

// The Today and Start-menu pictures exactly as the theme stores them
// (profile size, overlay blended, menu cropped).
Raster todayPictureForSave(const ThemeDocument &doc);
Raster menuPictureForSave(const ThemeDocument &doc);

// Deletes the files and folders of `folder` whose names end in one of
// `endings` (case-insensitive, e.g. ".gif").
void deleteWorkFiles(const QString &folder, const QStringList &endings);

// Moves `from` over `to`, replacing it in one step where the file system
// allows; across file systems the copy is completed beside `to` first. When
// `to` is a symbolic link, the file it points to is replaced.
void replaceFile(const QString &from, const QString &to);

}  // namespace varno
