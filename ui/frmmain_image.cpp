// The Image menu: the fitting dialogs, captures and picture export.
#include "ui/frmmain.h"

#include "preview/capture.h"

namespace varno {

frmImage &frmMain::ImageDialog(ImageDialogKind kind)
{
    std::unique_ptr<frmImage> &dialog = ImageDialogs[static_cast<size_t>(kind)];
    if (!dialog) {
        dialog = std::make_unique<frmImage>(kind, m_prompt, m_m.Doc, m_m.Settings);
        connect(dialog.get(), &frmImage::changeImagesEnabled, this, [this](bool enabled) {
            m_view.changeImagesEnabled = enabled;
            changed();
        });
    }
    return *dialog;
}

bool frmMain::showImageDialog(frmImage &dialog)
{
    if (!ShowImageDialog) {
        dialog.Form_Activate();
        return false;
    }
    if (ShowImageDialog(dialog))
        DoScreenMain(QStringLiteral("MAIN"));
    return true;
}

bool frmMain::LoadImages(const QString &fileName)
{
    frmImage &dialog = ImageDialog(ChangeImagesDialogFor(m_m.Doc.ThemeType));
    return dialog.LoadImages(fileName) && showImageDialog(dialog);
}

void frmMain::mnuChangeImages_Click()
{
    if (m_view.changeImagesEnabled)
        showImageDialog(ImageDialog(ChangeImagesDialogFor(m_m.Doc.ThemeType)));
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
