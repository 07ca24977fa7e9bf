// The settings dialog: names, Today items, heading rule and folder memory.
#include "ui/widgets/settingsdialog_p.h"

#include "ui/widgets/dialogparts_p.h"
#include "ui/widgets/dialogs.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varno {

namespace {

// A titled column of options; option i is button id i, named name + i.
QGroupBox *optionGroup(QWidget *parent, const QString &title, const QString &name,
                       const QStringList &captions, QButtonGroup *&group)
{
    auto *box = new QGroupBox(title, parent);
    auto *column = new QVBoxLayout(box);
    group = new QButtonGroup(parent);
    group->setObjectName(name);
    for (int i = 0; i < captions.size(); ++i) {
        auto *option = new QRadioButton(captions[i], box);
        option->setObjectName(name + QString::number(i));
        group->addButton(option, i);
        column->addWidget(option);
    }
    return box;
}

}  // namespace

SettingsDialog::SettingsDialog(Prompt &prompt, AppSettings &settings, SettingsStore &store,
                               QWidget *parent)
    : QDialog(parent), m_model(prompt, settings, store)
{
    setWindowTitle(QStringLiteral("Settings"));

    auto *names = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        m_names[i] = new QLineEdit(this);
        m_names[i]->setObjectName(QStringLiteral("txtName%1").arg(i + 1));
        names->addRow(QStringLiteral("Name %1").arg(i + 1), m_names[i]);
    }

    auto *today =
        optionGroup(this, QStringLiteral("Today Items"), QStringLiteral("radTodayText"),
                    {QStringLiteral("All (Default)"), QStringLiteral("No Tasks / Messages"),
                     QStringLiteral("No Tasks / Messages / Meetings"), QStringLiteral("None")},
                    m_todayText);
    auto *headings = optionGroup(
        this, QStringLiteral("Dialog Box Heading"), QStringLiteral("radHeadings"),
        {QStringLiteral("Manual"), QStringLiteral("Same as Main"), QStringLiteral("Opposite Main")},
        m_headings);
    auto *directories =
        optionGroup(this, QStringLiteral("Directories"), QStringLiteral("radDirectories"),
                    {QStringLiteral("Remember Directories only for this session"),
                     QStringLiteral("Remember Directories across sessions")},
                    m_directories);

    auto *options = new QHBoxLayout;
    options->addWidget(today);
    options->addWidget(headings);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const QString captions[] = {QStringLiteral("Cancel"), QStringLiteral("Accept Changes")};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("btnButton%1").arg(i));
        button->setDefault(i == 1);
        connect(button, &QPushButton::clicked, this, [this, i] { buttonClicked(i); });
        buttons->addWidget(button);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addLayout(options);
    layout->addWidget(directories);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_model.load();
    toControls();
}

void SettingsDialog::toControls()
{
    m_names[0]->setText(m_model.name1);
    m_names[1]->setText(m_model.name2);
    m_names[2]->setText(m_model.name3);
    checkOption(m_todayText, m_model.todayTextOption);
    checkOption(m_headings, m_model.headingsOption);
    checkOption(m_directories, m_model.foldersOption);
}

void SettingsDialog::fromControls()
{
    m_model.name1 = m_names[0]->text();
    m_model.name2 = m_names[1]->text();
    m_model.name3 = m_names[2]->text();
    m_model.todayTextOption = m_todayText->checkedId();
    m_model.headingsOption = m_headings->checkedId();
    m_model.foldersOption = m_directories->checkedId();
}

void SettingsDialog::buttonClicked(int index)
{
    fromControls();
    if (m_model.pressButton(index))
        done(index == 1 ? Accepted : Rejected);
}

bool showSettingsDialog(QWidget *parent, Prompt &prompt, AppSettings &settings,
                        SettingsStore &store)
{
    SettingsDialog dialog(prompt, settings, store, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace varno
