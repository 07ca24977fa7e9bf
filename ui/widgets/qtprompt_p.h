// The pure parts of QtPrompt: how the port's requests translate into Qt's
// terms. Separate so they can be tested without opening anything.
#pragma once

#include "base/prompt.h"

#include <QColor>
#include <QMessageBox>
#include <QString>

#include <cstdint>
#include <memory>

namespace varno {

// "Description (*.a;*.b)|*.a;*.b|Other|*.c" -> "Description (*.a *.b);;Other (*.c)".
// The pattern half is what filters; a pattern list in the description is
// replaced by it. "*.*" means every file and becomes "*".
QString qtFileFilter(const QString &filter);

// Where a file dialog starts: the initial folder joined with the initial
// file name. A name with a wildcard only contributes its folder.
QString fileDialogStart(const FileDialogRequest &request);

// Message texts break lines with "\r" (and "\r\n"); Qt wants "\n".
QString plainLineBreaks(const QString &text);

// Colour values are 0x00BBGGRR, red in the low byte.
QColor toQColor(uint32_t colour);
uint32_t fromQColor(const QColor &colour);

// The box messageBox shows, ready for exec(); its first button is the default.
std::unique_ptr<QMessageBox> makeMessageBox(const QString &text, MsgIcon icon, const QString &title,
                                            MsgButtons buttons, QWidget *parent = nullptr);

// The answer for the button pressed; a box closed without one (no button
// pressed at all) answers as the set's cancelling button.
MsgResult toMsgResult(QMessageBox::StandardButton pressed, MsgButtons buttons);

}  // namespace varno
