// The modal "Glintory Theme Transfer" window over PublishForm: the upload
// fields, category list and platform options on top, the login panel and
// the sign-up frame below, revealed by the window's height.
#pragma once

#include "web/publishform.h"

#include <QDialog>
#include <QTimer>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace varno {

class PublishDialog : public QDialog {
    Q_OBJECT
public:
    PublishDialog(Prompt &prompt, AppSettings &settings, SettingsFile &file, const AppPaths &paths,
                  EditorHooks editor, QWidget *parent = nullptr);
    ~PublishDialog() override;

    PublishForm &form() { return m_form; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void done(int result) override;

private:
    QWidget *buildUpload();
    QGroupBox *buildLogin();
    QGroupBox *buildSignup();
    QLineEdit *textField(const char *name, QString PublishForm::*field);
    void showForm();

    PublishForm m_form;
    QTimer m_timer;
    bool m_activated = false;
    QWidget *m_content = nullptr;
    QWidget *m_upload = nullptr;
    QGroupBox *m_login = nullptr;
    std::vector<std::pair<QLineEdit *, QString PublishForm::*>> m_fields;
    QListWidget *m_categories = nullptr;
    QButtonGroup *m_platforms = nullptr;
    QLabel *m_theme = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    std::vector<QPushButton *> m_requestButtons;
};

// Shows the window; it is gone when this returns.
void showPublishWindow(QWidget *parent, Prompt &prompt, AppSettings &settings, SettingsFile &file,
                       const AppPaths &paths, EditorHooks editor);

}  // namespace varno
