// The settings dialog's widgets over SettingsForm; exposed so tests can drive
// it without a modal loop.
#pragma once

#include "app/settingsform.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QLineEdit;

namespace varno {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(Prompt &prompt, AppSettings &settings, SettingsStore &store,
                   QWidget *parent = nullptr);

private:
    void toControls();
    void fromControls();
    void buttonClicked(int index);

    SettingsForm m_model;
    std::array<QLineEdit *, 3> m_names{};
    QButtonGroup *m_todayText = nullptr;
    QButtonGroup *m_headings = nullptr;
    QButtonGroup *m_directories = nullptr;
};

}  // namespace varno
