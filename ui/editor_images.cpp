// The Image menu: the fitting dialogs, captures and picture export.
#include "ui/editor.h"

#include "preview/capture.h"

#include <QDir>

namespace varno {

ImageFitModel &Editor::fitModel(ImageDialogKind kind)
{
    std::unique_ptr<ImageFitModel> &dialog = fitModels[static_cast<size_t>(kind)];
    if (!dialog) {
        dialog = std::make_unique<ImageFitModel>(kind, m_prompt, m_session.doc, m_session.settings);
        connect(dialog.get(), &ImageFitModel::changeImagesEnabled, this, [this](bool enabled) {
            m_view.changeImagesEnabled = enabled;
            changed();
        });
    }
    return *dialog;
}

bool Editor::showFitDialog(ImageFitModel &dialog)
{
    if (!runFitDialog) {
        dialog.activate();
        return false;
    }
    if (runFitDialog(dialog))
        drawScreen(QStringLiteral("MAIN"));
    return true;
}

bool Editor::loadImages(const QString &fileName)
{
    ImageFitModel &dialog = fitModel(changeImagesDialogFor(m_session.doc.themeType));
    if (!dialog.loadImages(fileName)) {
        if (!dialog.refusal().isEmpty())
            emit statusMessage(QStringLiteral("The file was not loaded: %1").arg(dialog.refusal()));
        return false;
    }
    return showFitDialog(dialog);
}

void Editor::changeImages()
{
    if (m_view.changeImagesEnabled)
        showFitDialog(fitModel(changeImagesDialogFor(m_session.doc.themeType)));
}

void Editor::setCaptureKind(int index)
{
    if (index < 0 || index > 3)
        return;
    m_view.captureButton = index;
    changed();
}

void Editor::capture(int kind, const QString &procedure)
{
    DeviceScreen *screen = m_screen.device();
    if (!screen)
        return;
    CaptureContext ctx{m_prompt, *screen, m_session.doc, m_session.settings, m_session.paths};
    const QString written = captureToChosenFile(ctx, kind, procedure);
    if (!written.isEmpty())
        emit statusMessage(QStringLiteral("Captured %1").arg(QDir::toNativeSeparators(written)));
    // The capture drew the view it needed; the preview goes back to the one
    // the user had open, which the window's state still describes.
    redrawShownView();
}

bool Editor::openAndCaptureForUpload(const QString &file, const QString &captureName)
{
    DeviceScreen *screen = m_screen.device();
    if (!screen || !askToKeepChanges())
        return false;
    closeImageDialogs();
    if (!loadTheme(file))
        return false;
    m_session.doc.currentThemeName = captureName;
    CaptureContext ctx{m_prompt, *screen, m_session.doc, m_session.settings, m_session.paths};
    const bool captured = !screenCaptureForTransfer(ctx).isEmpty();
    redrawShownView();
    return captured;
}

void Editor::captureChosenKind()
{
    static constexpr int kinds[] = {CaptureMain, CaptureThumbnail, CaptureMenu, CaptureLandscape};
    capture(kinds[m_view.captureButton], QStringLiteral("btnScreenCapture_Click"));
}

void Editor::captureToday()
{
    capture(CaptureMain, QStringLiteral("mnuScreenCaptureMain_Click"));
}

void Editor::captureThumbnail()
{
    capture(CaptureThumbnail, QStringLiteral("mnuScreenCaptureThumbnail_Click"));
}

void Editor::captureMenu()
{
    capture(CaptureMenu, QStringLiteral("mnuScreenCaptureMenu_Click"));
}

void Editor::captureLandscape()
{
    capture(CaptureLandscape, QStringLiteral("mnuScreenCaptureLandscape_Click"));
}

void Editor::saveTodayPicture()
{
    if (DeviceScreen *screen = m_screen.device()) {
        CaptureContext ctx{m_prompt, *screen, m_session.doc, m_session.settings, m_session.paths};
        saveThemePicture(ctx, false);
    }
}

void Editor::saveMenuPicture()
{
    if (DeviceScreen *screen = m_screen.device()) {
        CaptureContext ctx{m_prompt, *screen, m_session.doc, m_session.settings, m_session.paths};
        saveThemePicture(ctx, true);
    }
}

}  // namespace varno
