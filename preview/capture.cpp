#include "preview/capture.h"

#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"

namespace varno {

namespace {

bool square(const ThemeDocument &doc)
{
    return doc.themeType == QLatin1String("SQ240");
}

// The file title without its four-character extension. A title typed
// without one is kept whole rather than losing its last letters.
QString titleWithoutExtension(const QString &title)
{
    if (title.size() > 4 && title.at(title.size() - 4) == QLatin1Char('.'))
        return title.chopped(4);
    return title;
}

}  // namespace

Raster capturePicture(CaptureContext &ctx, int kind)
{
    // The menu capture shows the Start menu; every other kind the Today
    // screen, dropping any message box or tray.
    ctx.screen.drawScreen(kind == CaptureMenu ? QStringLiteral("MENU") : QStringLiteral("MAIN"));
    // 2, 3.
    const bool sq = square(ctx.doc);
    Raster picture =
        kind == CaptureLandscape ? ctx.screen.landscapeScreen : ctx.screen.portraitScreen;
    if (kind == CaptureLandscape)
        picture.crop(0, 0, sq ? 240 : 320, 240);
    else
        picture.crop(0, 0, 240, sq ? 240 : 320);
    if (kind == CaptureThumbnail)
        picture.resize(120, sq ? 120 : 160);
    return picture;
}

bool screenCapture(CaptureContext &ctx, int kind)
{
    return trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Function"),
                QStringLiteral("ScreenCapture"), [&] {
                    const Raster picture = capturePicture(ctx, kind);
                    saveJpeg(picture,
                             ctx.settings.captureFolder + ctx.doc.currentThemeName +
                                 QStringLiteral(".jpg"),
                             CaptureQuality);
                });
}

QString captureToChosenFile(CaptureContext &ctx, int kind, const QString &procedure)
{
    QString written;
    trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"), procedure, [&] {
        const QString chosen = chooseFileToSaveOrEmpty(
            ctx.prompt, {QStringLiteral("Save Theme Screen Capture"),
                         QStringLiteral("Save Theme Screen Capture (*.jpg)|*.jpg"),
                         ctx.settings.captureFolder, ctx.doc.currentThemeName, true});
        if (chosen.isEmpty())
            return;
        ctx.settings.captureFolder = folderPart(chosen);
        ctx.doc.currentThemeName =
            titleWithoutExtension(chosen.mid(ctx.settings.captureFolder.size()));
        if (screenCapture(ctx, kind))
            written =
                ctx.settings.captureFolder + ctx.doc.currentThemeName + QStringLiteral(".jpg");
    });
    return written;
}

QString screenCaptureForTransfer(CaptureContext &ctx)
{
    QString path;
    trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         QStringLiteral("ScreenCaptureForTransfer"), [&] {
             ctx.screen.drawScreen(QStringLiteral("MAIN"));
             Raster picture = ctx.screen.portraitScreen;
             picture.crop(0, 0, 240, square(ctx.doc) ? 240 : 320);
             const QString target = ctx.paths.folder(QStringLiteral("pt")) + QLatin1Char('/') +
                                    ctx.doc.currentThemeName + QStringLiteral(".jpg");
             saveJpeg(picture, target, CaptureQuality);
             path = target;
         });
    return path;
}

void saveThemePicture(CaptureContext &ctx, bool menu)
{
    const QString title =
        menu ? QStringLiteral("Save Menu Image") : QStringLiteral("Save Main Image");
    // The menu command's procedure has always been spelt this way.
    trap(ctx.prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"),
         menu ? QStringLiteral("mnuSaveMeneuImage_Click")
              : QStringLiteral("mnuSaveMainImage_Click"),
         [&] {
             const QString chosen =
                 chooseFileToSaveOrEmpty(ctx.prompt, {title, QStringLiteral("PNG|*.png"),
                                                      ctx.settings.imagesFolder, QString(), true});
             if (chosen.isEmpty())
                 return;
             // The file is PNG whatever was typed; the name says so too.
             const bool named = chosen.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
             savePng(menu ? ctx.doc.menuPicture : ctx.doc.todayPicture,
                     named ? chosen : chosen + QStringLiteral(".png"));
         });
}

}  // namespace varno
