// The image fitting dialog's widgets over ImageFitModel, one class for the four
// variants; exposed so tests can drive it without a modal loop.
#pragma once

#include "imagefit/imagefitmodel.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace varno {

class PanWindow;

class ImageFitDialog : public QDialog {
    Q_OBJECT
public:
    // The model outlives the dialog: it is kept between showings.
    explicit ImageFitDialog(ImageFitModel &model, QWidget *parent = nullptr);

    // Escape and the window frame take the model's Cancel path.
    void reject() override;

    // The pan window while the model has a pan open, else null.
    PanWindow *panWindow() const;

protected:
    void showEvent(QShowEvent *event) override;
    // Escape closes an open pan window before it cancels the dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLayout *buildCanvases();
    QLayout *buildOptions();
    QLayout *buildButtons();
    QPushButton *addButton(int index, const QString &caption);

    // Calls a handler for a user action; when the model refused it without
    // a change signal, the controls are put back as the model has them.
    void act(const std::function<void()> &handler);
    void toControls();
    void showCanvas(QLabel *view, const Raster &canvas, bool menu, qint64 &shownKey,
                    Guide &shownGuide);
    void syncPan();
    void buttonClicked(int index);

    ImageFitModel &m_model;
    std::array<QPushButton *, 8> m_buttons{};
    QButtonGroup *m_sizing = nullptr;
    QButtonGroup *m_resizing = nullptr;
    QButtonGroup *m_justify = nullptr;  // null where the variant has none
    QButtonGroup *m_flip = nullptr;     // likewise
    QPushButton *m_landscape = nullptr;
    QPushButton *m_portrait = nullptr;
    QCheckBox *m_useMain = nullptr;
    QToolButton *m_mainBack = nullptr;
    QToolButton *m_menuBack = nullptr;
    QLabel *m_mainCanvas = nullptr;
    QLabel *m_menuCanvas = nullptr;
    PanWindow *m_pan = nullptr;

    // What each canvas view shows now, so an unchanged canvas is not drawn
    // again on every pan step.
    qint64 m_mainKey = -1, m_menuKey = -1;
    Guide m_mainGuide = Guide::None, m_menuGuide = Guide::None;
    bool m_syncing = false;
    int m_syncCount = 0;
};

}  // namespace varno
