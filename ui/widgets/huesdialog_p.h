// The base-hue picker's widgets over HuePickerModel; exposed so tests can drive it
// without a modal loop.
#pragma once

#include "colour/huepickermodel.h"
#include "ui/widgets/qtprompt.h"

#include <QDialog>

class QLabel;

namespace varno {

class PictureLabel;

class HuesDialog : public QDialog {
    Q_OBJECT
public:
    HuesDialog(const Palettes &palettes, ThemeColors &colours, QWidget *parent = nullptr);

    // False when the current base hue could not be taken; the dialog is
    // then not worth showing (the error was already reported).
    bool loaded() const { return m_loaded; }

private:
    void stripChosen(bool colours, int x, int y);

    // The picker has no prompt of its own to report errors through.
    QtPrompt m_prompt;
    HuePickerModel m_model;
    PictureLabel *m_grays = nullptr;
    PictureLabel *m_colors = nullptr;
    QLabel *m_heading = nullptr;
    bool m_loaded = false;
};

}  // namespace varno
