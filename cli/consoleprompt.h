// The prompt of commands that run without a window: messages go to the
// error stream, and questions cannot be asked: a dialog takes the answer a
// command queued from its arguments, or counts as cancelled.
#pragma once

#include "base/prompt.h"

#include <QTextStream>

#include <deque>

namespace varno {

// A text as one terminal line: control characters (a member name can hold
// any) are shown as \xNN escapes.
QString printable(const QString &text);

class ConsolePrompt : public Prompt {
public:
    explicit ConsolePrompt(QTextStream &err) : m_err(err) {}

    MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                         MsgButtons buttons) override;
    uint32_t chooseColour(uint32_t initial, bool fullOpen) override;
    QString chooseFileToOpen(const FileDialogRequest &request) override;
    QString chooseFileToSave(const FileDialogRequest &request) override;
    QString askText(const QString &prompt, const QString &title, const QString &current,
                    bool &cancelled) override;
    void setBusy(bool) override {}

    // Answers for the next open-file and colour dialogs, in order.
    void answerOpen(const QString &path) { m_files.push_back(path); }
    void answerColor(uint32_t colour) { m_colours.push_back(colour); }

    // The file the command is working on; messages then name it.
    void setSubject(const QString &file) { m_subject = file; }
    const QString &subject() const { return m_subject; }

    // A critical or warning message was shown.
    bool failed() const { return m_failed; }
    void reset() { m_failed = false; }

private:
    QTextStream &m_err;
    QString m_subject;
    bool m_failed = false;
    std::deque<QString> m_files;
    std::deque<uint32_t> m_colours;
};

}  // namespace varno
