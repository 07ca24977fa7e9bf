// Pictures of the device screen (Today, Start menu, thumbnail, landscape)
// as JPEG files, the upload screenshot, and the export of the theme's two
// pictures as PNG.
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "app/themedocument.h"
#include "base/prompt.h"
#include "preview/devicescreen.h"

namespace varno {

enum CaptureKind { CaptureMain = 1, CaptureMenu = 2, CaptureThumbnail = 3, CaptureLandscape = 4 };

struct CaptureContext {
    Prompt &prompt;
    DeviceScreen &screen;
    ThemeDocument &doc;
    AppSettings &settings;
    const AppPaths &paths;
};

// The cropped (and for thumbnails scaled) picture of a kind, after the
// redraw it needs.
Raster capturePicture(CaptureContext &ctx, int kind);

// Captures a kind into captureFolder + CurrentThemeName + ".jpg". False when
// an error was shown.
bool screenCapture(CaptureContext &ctx, int kind);

// Asks for the capture file, then captures `kind`. `procedure` names the
// command in its error box (e.g. "mnuScreenCaptureMain_Click"). The file
// written, or "" when none was.
QString captureToChosenFile(CaptureContext &ctx, int kind, const QString &procedure);

// The upload screenshot in the "pt" folder; its path, or "" after an error.
QString screenCaptureForTransfer(CaptureContext &ctx);

// "Save Main Image" / "Save Menu Image": the whole picture as PNG where the
// user says.
void saveThemePicture(CaptureContext &ctx, bool menu);

// Quality factor of captures on the 2 (best) to 255 scale.
constexpr int CaptureQuality = 10;

}  // namespace varno
