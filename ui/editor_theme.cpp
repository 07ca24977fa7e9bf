// The Theme menu: the seven new-theme commands and their button group.
#include "ui/editor.h"

namespace varno {

void Editor::clearProfileChecks()
{
    m_view.checkedProfile = -1;
    changed();
}

void Editor::closeImageDialogs()
{
    // The square dialog keeps its state until exit.
    for (const ImageDialogKind kind :
         {ImageDialogKind::Standard, ImageDialogKind::SE, ImageDialogKind::VGA}) {
        std::unique_ptr<ImageFitModel> &dialog = fitModels[static_cast<size_t>(kind)];
        if (dialog)
            dialog->unload();
        dialog.reset();
    }
}

void Editor::newTheme(int index)
{
    if (index < 0 || index >= ProfileCount || !askToKeepChanges())
        return;
    const DeviceProfile &p = profiles()[index];
    for (int b = 0; b < 3; ++b)
        m_view.newThemePressed[b] = b == p.pressedButton;
    clearProfileChecks();
    m_view.checkedProfile = index;
    m_session.doc.wm5Theme = p.wm5Theme;
    m_session.doc.imageDialogReady = false;
    m_session.doc.themeName.clear();
    m_view.themeNameText.clear();
    m_session.doc.themeType = QString::fromLatin1(p.themeType);
    m_view.landscapeVisible = p.landscape;
    changed();
    closeImageDialogs();
    showDefaultScreen();
    markSaved(QString(), QString());
}

void Editor::pressNewThemeButton(int index)
{
    if (index < 0 || index > 2)
        return;
    for (int b = 0; b < 3; ++b)
        m_view.newThemePressed[b] = b == index;
    changed();
    newTheme(index);  // buttons 0, 1, 2 are the first three profiles
}

}  // namespace varno
