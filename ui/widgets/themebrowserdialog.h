// The modal "Theme Browser": a folder's themes as thumbnails, the picked
// one larger, and "Select" to open it.
#pragma once

#include "ui/themebrowserform.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QTreeView;

namespace varno {

class ThemeBrowserDialog : public QDialog {
    Q_OBJECT
public:
    ThemeBrowserDialog(Prompt &prompt, const AppSettings &settings, const AppPaths &paths,
                       QWidget *parent = nullptr);
    ~ThemeBrowserDialog() override;

    // The theme "Select" chose, as named on disk; empty after "Exit".
    QString chosenTheme() const { return m_chosen; }
    ThemeBrowserForm &form() { return m_form; }

protected:
    bool event(QEvent *event) override;
    void done(int result) override;

private:
    void showFolder(const QString &folder);
    void showForm();
    void select();

    ThemeBrowserForm m_form;
    QString m_chosen;
    bool m_boxClosing = false;
    QComboBox *m_places = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QTreeView *m_tree = nullptr;
    QListView *m_strip = nullptr;
    QLabel *m_large = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_count = nullptr;
    QPushButton *m_select = nullptr;
};

// Shows the browser; the theme to open, or empty.
QString showThemeBrowser(QWidget *parent, Prompt &prompt, const AppSettings &settings,
                         const AppPaths &paths);

}  // namespace varno
