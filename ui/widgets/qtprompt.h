// The Prompt port on Qt: message boxes, the colour and file dialogs, the
// input box, the busy pointer and a progress window.
#pragma once

#include "base/prompt.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace varno {

class QtPrompt : public Prompt {
public:
    // Dialogs open over `parent` (none: centred on the screen).
    explicit QtPrompt(QWidget *parent = nullptr);
    ~QtPrompt() override;
    QtPrompt(const QtPrompt &) = delete;
    QtPrompt &operator=(const QtPrompt &) = delete;

    void setParent(QWidget *parent);

    MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                         MsgButtons buttons = MsgButtons::OK) override;
    // Qt's colour dialog always shows its custom part: `fullOpen` is moot.
    uint32_t chooseColour(uint32_t initial, bool fullOpen = true) override;
    QString chooseFileToOpen(const FileDialogRequest &request) override;
    QString chooseFileToSave(const FileDialogRequest &request) override;
    QString askText(const QString &prompt, const QString &title, const QString &current,
                    bool &cancelled) override;
    // Nested calls stack; a surplus "off" is ignored.
    void setBusy(bool busy) override;
    // A window only for work with a known total; gone when done >= total.
    void progress(const QString &what, int done, int total) override;

private:
    QPointer<QWidget> m_parent;
    QPointer<QProgressDialog> m_progress;
    int m_busyDepth = 0;
};

}  // namespace varno
