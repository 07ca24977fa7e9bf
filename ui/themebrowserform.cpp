#include "ui/themebrowserform.h"

#include "base/messages.h"
#include "base/rounding.h"
#include "base/trap.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace varno {

namespace {

const QString Module = QStringLiteral("frmBrowseThemes");

}  // namespace

std::optional<qint64> availableMemory()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : info.readAll().split('\n'))
        if (line.startsWith("MemAvailable:")) {
            bool ok = false;
            const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
            if (ok)
                return kib * 1024;
        }
    return std::nullopt;
}

ThemeBrowserForm::ThemeBrowserForm(Prompt &prompt, const AppSettings &settings,
                                   const AppPaths &paths,
                                   std::function<std::optional<qint64>()> freeMemory)
    : m_prompt(prompt), m_settings(settings), m_paths(paths), m_freeMemory(std::move(freeMemory))
{
    model.useThumbnailCache(ThumbnailCache::desktopRoot());
    QObject::connect(&model, &ThemeBrowserModel::progress, &model, [this] { updateCount(); });
    trap(m_prompt, Module, QStringLiteral("Sub"), QStringLiteral("Form_Load"), [&] {
        if (!QDir().mkpath(m_paths.tmpFolder))
            throw runtimeError(Err::PathFileAccess, QStringLiteral("Varno"));
    });
}

bool ThemeBrowserForm::activate()
{
    bool told = false;
    trap(m_prompt, Module, QStringLiteral("Sub"), QStringLiteral("Form_Activate"), [&] {
        const qint64 free = m_freeMemory().value_or(0);
        viewableLimit = clng(double(free) / 75000.0 - 100.0);
        memoryNotice =
            QStringLiteral("Available memory (in bytes): ") +
            // "#,#": thousands separated, and nothing at all for zero.
            (free ? QLocale(QLocale::English).toString(free) : QString()) +
            QStringLiteral(" Approximate number of Themes Viewable: ") +
            QString::number(viewableLimit) +
            QStringLiteral("\r\nPlease be aware that folders with lots of themes will require "
                           "lots of memory to load! If you are short on memory you should not "
                           "view these thumbnails as you may receive errors.");
        const qsizetype count =
            QDir(m_settings.themesFolder).entryList({QStringLiteral("*.tsk")}, QDir::Files).size();
        if (count > viewableLimit) {
            m_prompt.messageBox(
                QStringLiteral("There are Too Many Themes in this Directory to View!\r\nThre are "
                               "%1 Themes and you can only view %2 at this time.")
                    .arg(count)
                    .arg(viewableLimit),
                MsgIcon::Exclamation, stringResource(Str::Notice));
            selectEnabled = foldersEnabled = false;
            told = true;
        }
        if (!m_activated) {
            m_activated = true;
            showFolder(QFileInfo(m_settings.themesFolder).isDir() ? m_settings.themesFolder
                                                                  : m_paths.appFolder);
        }
    });
    return told;
}

void ThemeBrowserForm::showFolder(const QString &folder)
{
    trap(m_prompt, Module, QStringLiteral("Sub"), QStringLiteral("Dir1_Change"), [&] {
        folderShown = folder;
        pickedFile.clear();
        largeView = QImage();
        model.setFolder(folder);
        if (model.rowCount() > 0)
            updateCount();
    });
}

void ThemeBrowserForm::updateCount()
{
    countText = QStringLiteral("%1/%2").arg(model.rowCount()).arg(model.madeCount());
}

void ThemeBrowserForm::pick(int row)
{
    trap(m_prompt, Module, QStringLiteral("Sub"), QStringLiteral("LEADImgList1_ItemSelected"), [&] {
        pickedFile = model.filePath(row);
        largeView = QImage();
        trap(m_prompt, Module, QStringLiteral("Sub"), QStringLiteral("ExtractImage"), [&] {
            const ThemePreview preview = readThemePreview(pickedFile);
            if (preview.image.isNull())
                throw RuntimeError(Err::InvalidPicture, QStringLiteral("Varno"), preview.problem);
            largeView = preview.image;
        });
    });
}

QString ThemeBrowserForm::select()
{
    if (pickedFile.isEmpty()) {
        m_prompt.messageBox(QStringLiteral("Please select a theme first!"), MsgIcon::Exclamation,
                            stringResource(Str::Maker));
        return QString();
    }
    return pickedFile;
}

void ThemeBrowserForm::close()
{
    const QDir scratch(m_paths.tmpFolder);
    for (const QString &file : scratch.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(scratch.filePath(file));
}

}  // namespace varno
