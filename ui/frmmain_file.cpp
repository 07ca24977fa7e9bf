// Saving and opening themes from the main window.
#include "ui/frmmain.h"

#include "base/messages.h"
#include "package/savetheme.h"
#include "package/themeloader.h"

namespace varno {

QString frmSaveTheme::btnSave_Click() const
{
    switch (Option) {
    case 0: return QStringLiteral("HIGH");
    case 1: return QStringLiteral("MED");
    default: return QStringLiteral("LOW");
    }
}

// What the loader changes on the window.
class frmMain::LoadView : public ThemeLoadView {
public:
    explicit LoadView(frmMain &w) : m_w(w) {}
    void setSliderTransparency(int value) override
    {
        m_w.m_view.sliderTransparency = value;
        m_w.changed();
    }
    void LoadDefault() override { m_w.LoadDefault(); }
    void setThemeNameText(const QString &text) override
    {
        m_w.m_view.themeNameText = text;
        m_w.changed();
    }
    void showProfile(int checked, int pressed) override
    {
        m_w.m_view.checkedProfile = checked;
        for (int b = 0; b < 3; ++b)
            m_w.m_view.newThemePressed[b] = b == pressed;
        m_w.changed();
    }
    void setLandscapeVisible(bool visible) override
    {
        m_w.m_view.landscapeVisible = visible;
        m_w.changed();
    }
    void DoScreenMain(const QString &view) override { m_w.DoScreenMain(view); }
    void CloseImageDialogs() override { m_w.CloseImageDialogs(); }

private:
    frmMain &m_w;
};

ThemeContext frmMain::context()
{
    return {m_prompt, m_m.Doc, m_m.Settings, m_m.Paths, m_m.TemplateInf, m_m.Palette};
}

bool frmMain::SaveTheme(const QString &compression, const QString &target)
{
    ThemeContext ctx = context();
    const bool saved = varno::SaveTheme(ctx, compression, target);
    m_view.themeNameText = m_m.Doc.ThemeName;
    changed();
    return saved;
}

void frmMain::mnuSaveThemeLow_Click()
{
    SaveTheme(CompressionNone, QString());
}

void frmMain::mnuSaveThemeMed_Click()
{
    SaveTheme(CompressionMedium, QString());
}

void frmMain::mnuSaveThemeHigh_Click()
{
    SaveTheme(CompressionHigh, QString());
}

void frmMain::btnSave_Click()
{
    if (m_m.Doc.ThemeName.isEmpty()) {
        m_prompt.MsgBox(QStringLiteral("Enter Theme Name First!"), MsgIcon::Exclamation,
                        QStringLiteral("Notice"));
        return;
    }
    const QString choice =
        AskSaveCompression ? AskSaveCompression() : frmSaveTheme::btnCancel_Click();
    if (choice == QLatin1String("CANCEL"))
        return;
    if (choice == QLatin1String("HIGH"))
        SaveTheme(CompressionHigh, QString());
    else if (choice == QLatin1String("MED"))
        SaveTheme(CompressionMedium, QString());
    else
        SaveTheme(CompressionNone, QString());
}

bool frmMain::LoadTheme(const QString &source)
{
    ThemeContext ctx = context();
    LoadView view(*this);
    return varno::LoadTheme(ctx, view, source);
}

void frmMain::mnuLoadTheme_Click()
{
    CloseImageDialogs();
    LoadTheme(QString());
}

void frmMain::mnuColorsFromTheme_Click()
{
    LoadTheme(ColorsFromTheme);
}

bool frmMain::mnuLoadImageFromTheme_Click()
{
    ThemeContext ctx = context();
    LoadView view(*this);
    const QString picture = LoadImageFromTheme(ctx, view);
    return !picture.isEmpty() && LoadImages(picture);
}

}  // namespace varno
