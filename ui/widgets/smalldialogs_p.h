// The small dialogs' widgets: save compression, About box and the one-line
// input box; exposed so tests can drive them without a modal loop.
#pragma once

#include "ui/editor.h"
#include "ui/smalldialogs.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace varno {

class SaveThemeDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveThemeDialog(QWidget *parent = nullptr);

    // What the dialog answered: "HIGH", "MED", "LOW", or "CANCEL" until
    // Save is pressed.
    const QString &choice() const { return m_choice; }

private:
    CompressionChoice m_model;
    QButtonGroup *m_option = nullptr;
    QString m_choice;
};

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

protected:
    // A click on a label or on the box itself closes it.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    AboutBox m_model;
};

class InputBoxDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is both the text shown and what a cancel leaves.
    InputBoxDialog(const QString &prompt, const QString &title, const QString &current,
                   QWidget *parent = nullptr);

    const InputBoxModel &model() const { return m_model; }
    // Escape and the window frame are Cancel.
    void reject() override;

private:
    InputBoxModel m_model;
    QLineEdit *m_text = nullptr;
};

}  // namespace varno
