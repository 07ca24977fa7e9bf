// The Theme menu: the seven new-theme commands and their button group.
#include "ui/frmmain.h"

namespace varno {

void frmMain::ClearProfileChecks()
{
    m_view.checkedProfile = -1;
    changed();
}

void frmMain::CloseImageDialogs()
{
    // The square dialog keeps its state until exit.
    for (const ImageDialogKind kind :
         {ImageDialogKind::Standard, ImageDialogKind::SE, ImageDialogKind::VGA}) {
        std::unique_ptr<frmImage> &dialog = ImageDialogs[static_cast<size_t>(kind)];
        if (dialog)
            dialog->Form_Unload();
        dialog.reset();
    }
}

void frmMain::NewTheme(int index)
{
    if (index < 0 || index >= ProfileCount)
        return;
    const DeviceProfile &p = Profiles()[index];
    // 1.
    for (int b = 0; b < 3; ++b)
        m_view.newThemePressed[b] = b == p.pressedButton;
    // 2.
    ClearProfileChecks();
    m_view.checkedProfile = index;
    // 3.
    m_m.Doc.Wm5Theme = p.Wm5Theme;
    m_m.Doc.ImageDialogReady = false;
    // 4.
    m_m.Doc.ThemeName.clear();
    m_view.themeNameText.clear();
    // 5.
    m_m.Doc.ThemeType = QString::fromLatin1(p.ThemeType);
    // 6.
    m_view.landscapeVisible = p.landscape;
    changed();
    // 7.
    CloseImageDialogs();
    // 8.
    LoadDefault();
}

void frmMain::btnNewTheme_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    for (int b = 0; b < 3; ++b)
        m_view.newThemePressed[b] = b == index;
    changed();
    NewTheme(index);  // buttons 0, 1, 2 are the first three profiles
}

}  // namespace varno
