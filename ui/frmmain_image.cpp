// The Image menu: loading pictures, captures and picture export.
#include "ui/frmmain.h"

#include "app/raster/pictureio.h"
#include "base/trap.h"
#include "package/themeloader.h"
#include "preview/capture.h"

#include <QFileInfo>

namespace varno {

namespace {

// A name the fitting dialogs accept: five characters at least, ending in
// one of the picture types they read.
bool AcceptedPictureName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() >= 5 &&
           QStringLiteral("jpg-jpeg-bmp-png-pcx-tga-gif-tif").contains(name.right(3).toLower());
}

}  // namespace

bool frmMain::LoadImages(const QString &fileName)
{
    bool loaded = false;
    trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Sub"), QStringLiteral("LoadImages"),
         [&] {
             QString path = fileName;
             if (path.isEmpty()) {
                 FileDialogRequest request;
                 request.title = QStringLiteral("Load Image");
                 request.filter = QStringLiteral(
                     "All Files|*.*|JPEG|*.jpg|Windows BMP|*.bmp|PNG|*.png|PCX|*.pcx|TGA|*.tga|"
                     "GIF|*.gif|TIF|*.tif");
                 request.initialFolder = m_m.Settings.ImagesPath;
                 path = ShowOpenOrEmpty(m_prompt, request);
             }
             if (path.isEmpty() || !AcceptedPictureName(path))
                 return;
             m_m.Settings.ImagesPath = QFileInfo(path).absolutePath();
             m_m.Doc.ImageDialogReady = false;
             BusyPointer busy(m_prompt);
             const Raster picture = PictureOnCanvas(LoadPicture(path));
             m_m.Doc.LEADMain = picture;
             m_m.Doc.LEADMenu = picture;
             busy.release();
             loaded = true;
             DoScreenMain(QStringLiteral("MAIN"));
         });
    return loaded;
}

void frmMain::btnCapture_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    m_view.captureButton = index;
    changed();
}

void frmMain::capture(int kind, const QString &procedure)
{
    DeviceScreen *screen = m_screen.device();
    if (!screen)
        return;
    CaptureContext ctx{m_prompt, *screen, m_m.Doc, m_m.Settings, m_m.Paths};
    CaptureToChosenFile(ctx, kind, procedure);
    followScreen();
}

void frmMain::btnScreenCapture_Click()
{
    static constexpr int kinds[] = {CaptureMain, CaptureThumbnail, CaptureMenu, CaptureLandscape};
    capture(kinds[m_view.captureButton], QStringLiteral("btnScreenCapture_Click"));
}

void frmMain::mnuScreenCaptureMain_Click()
{
    capture(CaptureMain, QStringLiteral("mnuScreenCaptureMain_Click"));
}

void frmMain::mnuScreenCaptureThumbnail_Click()
{
    capture(CaptureThumbnail, QStringLiteral("mnuScreenCaptureThumbnail_Click"));
}

void frmMain::mnuScreenCaptureMenu_Click()
{
    capture(CaptureMenu, QStringLiteral("mnuScreenCaptureMenu_Click"));
}

void frmMain::mnuScreenCaptureLandscape_Click()
{
    capture(CaptureLandscape, QStringLiteral("mnuScreenCaptureLandscape_Click"));
}

void frmMain::mnuSaveMainImage_Click()
{
    if (DeviceScreen *screen = m_screen.device()) {
        CaptureContext ctx{m_prompt, *screen, m_m.Doc, m_m.Settings, m_m.Paths};
        SaveThemePicture(ctx, false);
    }
}

void frmMain::mnuSaveMenuImage_Click()
{
    if (DeviceScreen *screen = m_screen.device()) {
        CaptureContext ctx{m_prompt, *screen, m_m.Doc, m_m.Settings, m_m.Paths};
        SaveThemePicture(ctx, true);
    }
}

}  // namespace varno
