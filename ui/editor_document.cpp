// The theme as a document: whether it has unsaved changes, the question
// before they are lost, the theme's own file and the recent themes.
#include "ui/editor.h"

#include "app/appsettings.h"
#include "base/messages.h"
#include "package/savetheme.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>

namespace varno {

namespace {

const QString EditorKey = QStringLiteral("\\Editor");
const QString RecentKey = QStringLiteral("\\Recent Themes");
constexpr int RecentCount = 10;

}  // namespace

// What a save writes, in short. A picture counts by its identity: any
// edit of its pixels gives it a new one.
QByteArray Editor::documentState() const
{
    const ThemeDocument &d = m_session.doc;
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << d.themeType << d.wm5Theme << d.themeName.trimmed();
    for (const Colour c : d.colours.colors.bySlot)
        out << quint32(c);
    out << d.colours.colors.baseHueIndex << quint32(d.colours.colors.baseHueColor);
    for (const TransparencyOverlay *o : {&d.colours.main, &d.colours.menu})
        out << o->level << quint32(o->color) << o->enabled;
    out << d.todayPicture.image().cacheKey() << d.menuPicture.image().cacheKey();
    return state;
}

bool Editor::isModified() const
{
    return documentState() != m_savedState;
}

void Editor::markSaved(const QString &file, const QString &compression)
{
    m_themeFile = file;
    m_themeCompression = compression;
    m_savedState = documentState();
    changed();
}

bool Editor::asksToSaveChanges() const
{
    const SettingsFile &settings = m_session.store->registry();
    const QString key = settingsSectionName() + EditorKey;
    return settings.readString(key, QStringLiteral("AskToSaveChanges")) != QLatin1String("no");
}

void Editor::setAsksToSaveChanges(bool ask)
{
    m_session.store->registry().writeString(settingsSectionName() + EditorKey,
                                            QStringLiteral("AskToSaveChanges"),
                                            ask ? QStringLiteral("yes") : QStringLiteral("no"));
}

bool Editor::askToKeepChanges()
{
    if (!isModified() || !asksToSaveChanges())
        return true;
    const MsgResult answer = m_prompt.messageBox(
        QStringLiteral("Save changes to \"%1\"?").arg(m_view.documentName), MsgIcon::Question,
        stringResource(Str::AppName), MsgButtons::SaveDiscardCancel);
    if (answer == MsgResult::Yes)
        return saveToThemeFile();
    return answer == MsgResult::No;
}

bool Editor::saveToThemeFile()
{
    const QString name = m_session.doc.themeName.trimmed();
    if (m_themeFile.isEmpty() || name.isEmpty())
        return saveThemeAs();
    // The file follows the theme's name, as the first save made it.
    const QString file =
        QFileInfo(m_themeFile).absolutePath() + u'/' + name + QStringLiteral(".tsk");
    return saveTheme(m_themeCompression.isEmpty() ? CompressionHigh : m_themeCompression, file);
}

bool Editor::saveThemeAs()
{
    return saveAskingCompression();
}

void Editor::openGivenFile(const QString &path)
{
    if (!askToKeepChanges())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("tsk"), Qt::CaseInsensitive) == 0) {
        closeImageDialogs();
        loadTheme(path);
    } else {
        loadImages(path);
    }
}

QStringList Editor::recentThemes() const
{
    const SettingsFile &settings = m_session.store->registry();
    const QString key = settingsSectionName() + RecentKey;
    QStringList files;
    for (int i = 1; i <= RecentCount; ++i) {
        const QString file = settings.readString(key, QStringLiteral("Theme%1").arg(i));
        if (!file.isEmpty() && !files.contains(file))
            files << file;
    }
    return files;
}

namespace {

void storeRecent(SettingsFile &settings, const QStringList &files)
{
    const QString key = settingsSectionName() + RecentKey;
    SettingsFile::Batch batch(settings);
    settings.removeSection(key);
    for (int i = 0; i < files.size() && i < RecentCount; ++i)
        settings.writeString(key, QStringLiteral("Theme%1").arg(i + 1), files[i]);
}

}  // namespace

void Editor::rememberRecent(const QString &file)
{
    QStringList files = recentThemes();
    const QString path = QFileInfo(file).absoluteFilePath();
    files.removeAll(path);
    files.prepend(path);
    storeRecent(m_session.store->registry(), files);
}

void Editor::openRecentTheme(const QString &file)
{
    if (!QFileInfo(file).isFile()) {
        QStringList files = recentThemes();
        files.removeAll(file);
        storeRecent(m_session.store->registry(), files);
        m_prompt.messageBox(
            QStringLiteral("\"%1\" is no longer there, so it was taken off the recent themes.")
                .arg(QDir::toNativeSeparators(file)),
            MsgIcon::Exclamation, stringResource(Str::AppName));
        changed();
        return;
    }
    openGivenFile(file);
}

void Editor::clearRecentThemes()
{
    storeRecent(m_session.store->registry(), {});
    changed();
}

}  // namespace varno
