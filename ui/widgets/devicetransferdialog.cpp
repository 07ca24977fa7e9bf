#include "ui/widgets/devicetransferdialog.h"

#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace varno {

namespace {

QString askDeviceFolder(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Choose the Device Folder"),
                                             start);
}

QListWidget *pickList(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

void showList(QListWidget *view, const PickList &list)
{
    view->clear();
    view->addItems(list.items);
    for (qsizetype i = 0; i < list.picked.size(); ++i)
        view->item(int(i))->setSelected(list.picked[i]);
}

void readPicks(const QListWidget *view, PickList &list)
{
    for (qsizetype i = 0; i < list.picked.size() && i < view->count(); ++i)
        list.picked[i] = view->item(int(i))->isSelected();
}

}  // namespace

DeviceTransferDialog::DeviceTransferDialog(Prompt &prompt, SettingsFile &settings,
                                           const AppPaths &paths, QString themesFolder,
                                           CurrentTheme current, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_settings(settings), m_paths(paths),
      m_themesFolder(std::move(themesFolder)), m_current(std::move(current))
{
    setWindowTitle(QStringLiteral("Theme Transfer"));

    auto *pcFrame = new QGroupBox(QStringLiteral("PC Files"), this);
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QString());
    m_localFolders = new QTreeView(pcFrame);
    m_localFolders->setObjectName(QStringLiteral("localFolders"));
    m_localFolders->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_localFolders->hideColumn(column);
    m_localFolders->setHeaderHidden(true);
    m_localThemes = pickList(pcFrame, "localThemes");
    auto *pcLayout = new QVBoxLayout(pcFrame);
    pcLayout->addWidget(m_localFolders, 3);
    pcLayout->addWidget(new QLabel(QStringLiteral("Themes on PC"), pcFrame));
    pcLayout->addWidget(m_localThemes, 2);

    m_deviceFrame = new QGroupBox(QStringLiteral("PPC Files"), this);
    m_deviceFrame->setObjectName(QStringLiteral("deviceFrame"));
    m_deviceFolder = new QLineEdit(m_deviceFrame);
    m_deviceFolder->setObjectName(QStringLiteral("deviceFolder"));
    m_deviceFolder->setReadOnly(true);
    auto *choose = new QPushButton(QStringLiteral("Device Folder..."), m_deviceFrame);
    choose->setObjectName(QStringLiteral("chooseDeviceFolder"));
    m_system = new QComboBox(m_deviceFrame);
    m_system->setObjectName(QStringLiteral("deviceSystem"));
    for (const DeviceSystem &system : deviceSystems())
        m_system->addItem(system.caption, system.key);
    m_deviceFolders = pickList(m_deviceFrame, "deviceFolders");
    m_deviceThemes = pickList(m_deviceFrame, "deviceThemes");
    auto *where = new QHBoxLayout;
    where->addWidget(m_deviceFolder, 1);
    where->addWidget(choose);
    where->addWidget(m_system);
    auto *deviceLayout = new QVBoxLayout(m_deviceFrame);
    deviceLayout->addLayout(where);
    deviceLayout->addWidget(new QLabel(QStringLiteral("Directories"), m_deviceFrame));
    deviceLayout->addWidget(m_deviceFolders, 3);
    deviceLayout->addWidget(new QLabel(QStringLiteral("Themes"), m_deviceFrame));
    deviceLayout->addWidget(m_deviceThemes, 2);

    auto *buttons = new QGridLayout;
    for (int i = 0; i < transferButtonCaptions().size(); ++i) {
        auto *button = new QPushButton(transferButtonCaptions()[i], this);
        button->setObjectName(QStringLiteral("transferButton%1").arg(i));
        button->setAutoDefault(false);
        buttons->addWidget(button, i / 3, i % 3);
        m_buttons << button;
    }
    auto *sides = new QHBoxLayout;
    sides->addWidget(pcFrame, 1);
    sides->addWidget(m_deviceFrame, 1);
    auto *all = new QVBoxLayout(this);
    all->addLayout(sides, 1);
    all->addLayout(buttons);
    resize(820, 560);

    // The tree fills in as folders are read: the PC folder is shown again
    // once the folders above it are there.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        if (m_form && m_form->localFolder.startsWith(loaded))
            showLocalFolderInTree();
    });
    connect(m_localFolders, &QTreeView::clicked, this, [this](const QModelIndex &index) {
        act([&] { m_form->showLocalFolder(m_folders->filePath(index)); });
    });
    connect(m_deviceFolders, &QListWidget::itemClicked, this, [this] {
        QList<int> rows;
        for (int i = 0; i < m_deviceFolders->count(); ++i)
            if (m_deviceFolders->item(i)->isSelected())
                rows << i;
        act([&] { m_form->openDeviceFolders(rows); });
    });
    connect(choose, &QPushButton::clicked, this, &DeviceTransferDialog::chooseFolder);
    connect(m_system, &QComboBox::activated, this, [this] {
        DeviceChoice choice = readDeviceChoice(m_settings);
        choice.system = m_system->currentData().toString();
        storeDeviceChoice(m_settings, choice);
        useDevice(choice);
        m_form->connectDevice();
        showForm();
    });
    const std::vector<void (DeviceTransferForm::*)()> actions = {
        &DeviceTransferForm::fetchThemes,
        &DeviceTransferForm::deleteDeviceThemes,
        &DeviceTransferForm::sendThemes,
        &DeviceTransferForm::deleteLocalThemes,
        nullptr,
        &DeviceTransferForm::sendCurrent};
    for (size_t i = 0; i < actions.size(); ++i) {
        if (!actions[i]) {
            connect(m_buttons[int(i)], &QPushButton::clicked, this, &QDialog::reject);
            continue;
        }
        connect(m_buttons[int(i)], &QPushButton::clicked, this,
                [this, action = actions[i]] { act([&] { ((*m_form).*action)(); }); });
    }

    useDevice(readDeviceChoice(m_settings));
}

DeviceTransferDialog::~DeviceTransferDialog() = default;

void DeviceTransferDialog::useDevice(const DeviceChoice &choice)
{
    if (m_form)
        m_form->close();
    m_device.choose(choice.folder, choice.system);
    m_form = std::make_unique<DeviceTransferForm>(m_prompt, m_device, m_paths, m_themesFolder,
                                                  m_current);
    m_form->runCopies = [this](CopyJob &job) { runCopies(job); };
    m_form->load();
    m_deviceFolder->setText(QDir::toNativeSeparators(choice.folder));
    m_system->setCurrentIndex(m_system->findData(deviceSystem(choice.system).key));
    showLocalFolderInTree();
    showForm();
}

void DeviceTransferDialog::showLocalFolderInTree()
{
    const QModelIndex shown = m_folders->index(m_form->localFolder);
    for (QModelIndex up = shown.parent(); up.isValid(); up = up.parent())
        m_localFolders->expand(up);
    m_localFolders->setCurrentIndex(shown);
    m_localFolders->scrollTo(shown, QAbstractItemView::PositionAtCenter);
}

void DeviceTransferDialog::chooseFolder()
{
    DeviceChoice choice = readDeviceChoice(m_settings);
    const QString folder = askDeviceFolder(this, choice.folder);
    if (folder.isEmpty())
        return;
    choice.folder = folder;
    storeDeviceChoice(m_settings, choice);
    useDevice(choice);
    m_form->connectDevice();
    showForm();
}

bool DeviceTransferDialog::event(QEvent *event)
{
    // The connection waits until the window is up, so its messages and
    // the busy pointer belong to a window the user can see.
    if (event->type() == QEvent::WindowActivate && m_form->activate())
        QTimer::singleShot(500, this, [this] {
            m_form->connectDevice();
            showForm();
        });
    return QDialog::event(event);
}

void DeviceTransferDialog::runCopies(CopyJob &job)
{
    QProgressDialog progress(job.title, QStringLiteral("Cancel"), 0, std::max(job.total, 1), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    connect(&progress, &QProgressDialog::canceled, this, [&job] { job.cancel(); });
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!job.cancelled())
            progress.setValue(std::min<int>(job.finished, progress.maximum() - 1));
    });
    poll.start(100);
    // The window stays responsive while the device is busy; the progress
    // window, being modal, keeps the user from starting anything else.
    std::unique_ptr<QThread> worker(QThread::create([&job] { job.run(); }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
}

void DeviceTransferDialog::act(const std::function<void()> &action)
{
    readPicks(m_localThemes, m_form->localThemes);
    readPicks(m_deviceThemes, m_form->deviceThemes);
    action();
    showForm();
}

void DeviceTransferDialog::showForm()
{
    const DeviceTransferForm &f = *m_form;
    showList(m_localThemes, f.localThemes);
    showList(m_deviceFolders, f.deviceFolders);
    showList(m_deviceThemes, f.deviceThemes);
    m_deviceFrame->setTitle(f.deviceCaption.isEmpty() ? QStringLiteral("PPC Files")
                                                      : f.deviceCaption);
    for (int i = TransferButton::Fetch; i <= TransferButton::DeleteOnPc; ++i)
        m_buttons[i]->setEnabled(f.transfersEnabled);
}

void DeviceTransferDialog::done(int result)
{
    m_form->close();
    QDialog::done(result);
}

void showDeviceTransfer(QWidget *parent, Prompt &prompt, SettingsFile &settings,
                        const AppPaths &paths, const QString &themesFolder,
                        const CurrentTheme &current)
{
    if (!deviceChoiceOrAsk(settings, [&] { return askDeviceFolder(parent, QString()); }))
        return;
    DeviceTransferDialog dialog(prompt, settings, paths, themesFolder, current, parent);
    dialog.exec();
}

}  // namespace varno
