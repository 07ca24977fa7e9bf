// Saving and opening themes from the main window.
#include "ui/editor.h"

#include "base/messages.h"
#include "package/savetheme.h"
#include "package/themeloader.h"

#include <QDir>

namespace varno {

QString CompressionChoice::save() const
{
    switch (option) {
    case 0: return QStringLiteral("HIGH");
    case 1: return QStringLiteral("MED");
    default: return QStringLiteral("LOW");
    }
}

// What the loader changes on the window.
class Editor::LoadView : public ThemeLoadView {
public:
    explicit LoadView(Editor &w) : m_w(w) {}
    void showOverlayLevel(int value) override
    {
        m_w.m_view.overlayLevel = value;
        m_w.changed();
    }
    void showDefaultScreen() override { m_w.showDefaultScreen(); }
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
    void drawScreen(const QString &view) override { m_w.drawScreen(view); }
    void closeImageDialogs() override { m_w.closeImageDialogs(); }
    void loadedTheme(const QString &file) override
    {
        m_w.markSaved(file, QString());
        m_w.rememberRecent(file);
        emit m_w.statusMessage(QStringLiteral("Opened %1").arg(QDir::toNativeSeparators(file)));
    }

private:
    Editor &m_w;
};

ThemeContext Editor::context()
{
    return {m_prompt,        m_session.doc,         m_session.settings,
            m_session.paths, m_session.templateInf, m_session.palette};
}

bool Editor::saveTheme(const QString &compression, const QString &target)
{
    ThemeContext ctx = context();
    QString file;
    const bool saved = varno::saveTheme(ctx, compression, target, &file);
    m_view.themeNameText = m_session.doc.themeName;
    if (saved) {
        markSaved(file, compression);
        rememberRecent(file);
        emit statusMessage(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(file)));
    }
    changed();
    return saved;
}

void Editor::saveUncompressed()
{
    saveTheme(CompressionNone, QString());
}

void Editor::saveMediumCompression()
{
    saveTheme(CompressionMedium, QString());
}

void Editor::saveHighCompression()
{
    saveTheme(CompressionHigh, QString());
}

bool Editor::saveAskingCompression()
{
    if (m_session.doc.themeName.isEmpty()) {
        m_prompt.messageBox(QStringLiteral("Enter Theme Name First!"), MsgIcon::Exclamation,
                            QStringLiteral("Notice"));
        return false;
    }
    const QString choice = askCompression ? askCompression() : CompressionChoice::cancel();
    if (choice == QLatin1String("CANCEL"))
        return false;
    if (choice == QLatin1String("HIGH"))
        return saveTheme(CompressionHigh, QString());
    if (choice == QLatin1String("MED"))
        return saveTheme(CompressionMedium, QString());
    return saveTheme(CompressionNone, QString());
}

bool Editor::loadTheme(const QString &source)
{
    ThemeContext ctx = context();
    LoadView view(*this);
    return varno::loadTheme(ctx, view, source);
}

void Editor::openTheme()
{
    if (!askToKeepChanges())
        return;
    closeImageDialogs();
    loadTheme(QString());
}

void Editor::takeColoursFromTheme()
{
    if (loadTheme(ColorsFromTheme))
        redrawShownView();
}

bool Editor::loadImageFromTheme()
{
    ThemeContext ctx = context();
    LoadView view(*this);
    Raster picture = varno::loadImageFromTheme(ctx, view);
    if (picture.isNull())
        return false;
    ImageFitModel &model = fitModel(changeImagesDialogFor(m_session.doc.themeType));
    model.startWith(std::move(picture));
    return showFitDialog(model);
}

}  // namespace varno
