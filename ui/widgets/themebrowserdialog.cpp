#include "ui/widgets/themebrowserdialog.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

namespace varno {

ThemeBrowserDialog::ThemeBrowserDialog(Prompt &prompt, const AppSettings &settings,
                                       const AppPaths &paths, QWidget *parent)
    : QDialog(parent), m_form(prompt, settings, paths)
{
    setWindowTitle(QStringLiteral("Theme Browser"));
    setObjectName(QStringLiteral("frmBrowseThemes"));

    // The places: the user's home and every mounted volume.
    m_places = new QComboBox(this);
    m_places->setObjectName(QStringLiteral("Drive1"));
    m_places->addItem(QDir::homePath());
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && m_places->findText(volume.rootPath()) < 0)
            m_places->addItem(volume.rootPath());

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QString());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("Dir1"));
    m_tree->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setHeaderHidden(true);

    // Items take one size, so the view asks only the visible ones for a
    // picture: those are the thumbnails made first.
    m_strip = new QListView(this);
    m_strip->setObjectName(QStringLiteral("LEADImgList1"));
    m_strip->setViewMode(QListView::IconMode);
    m_strip->setResizeMode(QListView::Adjust);
    m_strip->setMovement(QListView::Static);
    m_strip->setUniformItemSizes(true);
    m_strip->setIconSize(m_form.model.thumbnailSize());
    m_strip->setGridSize(m_form.model.thumbnailSize() + QSize(24, 28));
    m_strip->setModel(&m_form.model);

    m_large = new QLabel(this);
    m_large->setObjectName(QStringLiteral("LEAD1"));
    m_large->setFixedSize(320, 294);
    m_large->setAlignment(Qt::AlignCenter);
    m_large->setFrameShape(QFrame::StyledPanel);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("Label1"));
    m_notice->setWordWrap(true);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    m_select = new QPushButton(QStringLiteral("Select"), this);
    m_select->setObjectName(QStringLiteral("btnSelect"));
    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("btnExit"));

    auto *left = new QVBoxLayout;
    left->addWidget(m_places);
    left->addWidget(m_tree, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(m_large, 0, Qt::AlignHCenter);
    right->addWidget(m_count);
    right->addStretch(1);
    right->addWidget(m_select);
    right->addWidget(exit);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(m_strip, 3);
    top->addLayout(right);
    auto *all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(m_notice);
    resize(1100, 620);

    connect(m_places, &QComboBox::textActivated, this, &ThemeBrowserDialog::showFolder);
    connect(m_tree, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { showFolder(m_folders->filePath(index)); });
    connect(m_strip, &QListView::clicked, this, [this](const QModelIndex &index) {
        m_form.pick(index.row());
        showForm();
    });
    connect(m_strip, &QListView::doubleClicked, this, &ThemeBrowserDialog::select);
    connect(&m_form.model, &ThemeBrowserModel::progress, this, [this] { showForm(); });
    connect(m_select, &QPushButton::clicked, this, &ThemeBrowserDialog::select);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

ThemeBrowserDialog::~ThemeBrowserDialog() = default;

bool ThemeBrowserDialog::event(QEvent *event)
{
    // The window comes back active when a box it showed closes; that is
    // not the user coming back to it, and would show the box again.
    if (event->type() == QEvent::WindowActivate && std::exchange(m_boxClosing, false))
        return QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) {
        m_boxClosing = m_form.activate();
        const QModelIndex shown = m_folders->index(m_form.folderShown);
        m_tree->setCurrentIndex(shown);
        m_tree->scrollTo(shown);
        showForm();
    }
    return QDialog::event(event);
}

void ThemeBrowserDialog::showFolder(const QString &folder)
{
    m_form.showFolder(folder);
    showForm();
}

void ThemeBrowserDialog::showForm()
{
    m_notice->setText(m_form.memoryNotice);
    m_count->setText(m_form.countText);
    m_select->setEnabled(m_form.selectEnabled);
    m_tree->setEnabled(m_form.foldersEnabled);
    m_places->setEnabled(m_form.foldersEnabled);
    m_large->setPixmap(m_form.largeView.isNull()
                           ? QPixmap()
                           : QPixmap::fromImage(m_form.largeView.scaled(
                                 m_large->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void ThemeBrowserDialog::select()
{
    m_chosen = m_form.select();
    if (!m_chosen.isEmpty())
        accept();
}

void ThemeBrowserDialog::done(int result)
{
    m_form.close();
    QDialog::done(result);
}

QString showThemeBrowser(QWidget *parent, Prompt &prompt, const AppSettings &settings,
                         const AppPaths &paths)
{
    ThemeBrowserDialog dialog(prompt, settings, paths, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenTheme() : QString();
}

}  // namespace varno
