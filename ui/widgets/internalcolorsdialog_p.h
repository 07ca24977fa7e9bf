// The "Internal Colors" dialog's widgets over InternalColoursModel; exposed so
// tests can drive it without a modal loop.
#pragma once

#include "colour/internalcoloursmodel.h"

#include <QDialog>

#include <array>

class QLabel;
class QToolButton;

namespace varno {

class InternalColorsDialog : public QDialog {
    Q_OBJECT
public:
    // `wordBlank` (240x320) and `dots` (35x35) are the embedded pictures.
    InternalColorsDialog(Prompt &prompt, ColourState &colours, Raster wordBlank, Raster dots,
                         QWidget *parent = nullptr);

    // Escape and the window frame take the model's Cancel path.
    void reject() override;

private:
    void toControls();
    void swatchClicked(int swatch);
    void buttonClicked(int index);

    // The model keeps references to the pictures: they must outlive it.
    Raster m_wordBlank;
    Raster m_dots;
    InternalColoursModel m_model;
    std::array<QToolButton *, 5> m_swatches{};
    QLabel *m_preview = nullptr;
};

}  // namespace varno
