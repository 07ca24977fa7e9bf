// The one way the program asks the user anything. The Qt implementation
// lives with the widgets; tests use a scripted one.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace varno {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// SaveDiscardCancel answers Yes for Save and No for Discard.
enum class MsgButtons {
    OK,
    OKCancel,
    AbortRetryIgnore,
    YesNoCancel,
    YesNo,
    RetryCancel,
    SaveDiscardCancel
};
enum class MsgResult { OK, Cancel, Abort, Retry, Ignore, Yes, No };

struct FileDialogRequest {
    QString title;
    // Filter in the "Description (*.ext)|*.ext|..." form.
    QString filter;
    QString initialFolder;
    // Initial file name; may hold a folder and a wildcard ("/x/tsk/*.tsk").
    QString fileName;
    bool hideReadOnly = true;
};

class Prompt {
public:
    virtual ~Prompt() = default;

    virtual MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                                 MsgButtons buttons = MsgButtons::OK) = 0;

    // Colour dialog opened with `initial` (0x00BBGGRR) preselected; `fullOpen`
    // shows the custom-colour part. Cancel throws the cancel error (32755).
    virtual uint32_t chooseColour(uint32_t initial, bool fullOpen = true) = 0;

    // File dialogs return the chosen path; cancel throws the cancel error.
    virtual QString chooseFileToOpen(const FileDialogRequest &request) = 0;
    virtual QString chooseFileToSave(const FileDialogRequest &request) = 0;

    // One line of text; `cancelled` is set when the user cancels, and the
    // returned text is then `current` unchanged.
    virtual QString askText(const QString &prompt, const QString &title, const QString &current,
                            bool &cancelled) = 0;

    // Hourglass pointer on or off.
    virtual void setBusy(bool busy) = 0;

    // Progress of long work; `total` 0 means unknown. Optional to show.
    virtual void progress(const QString &what, int done, int total)
    {
        (void)what;
        (void)done;
        (void)total;
    }
};

// File dialogs whose cancel simply ends the command: "" when cancelled.
QString chooseFileToOpenOrEmpty(Prompt &prompt, const FileDialogRequest &request);
QString chooseFileToSaveOrEmpty(Prompt &prompt, const FileDialogRequest &request);

// A prompt for work without a user: shows nothing, and every question
// counts as cancelled.
class SilentPrompt : public Prompt {
public:
    MsgResult messageBox(const QString &, MsgIcon, const QString &, MsgButtons) override
    {
        return MsgResult::Cancel;
    }
    uint32_t chooseColour(uint32_t initial, bool fullOpen) override;
    QString chooseFileToOpen(const FileDialogRequest &request) override;
    QString chooseFileToSave(const FileDialogRequest &request) override;
    QString askText(const QString &, const QString &, const QString &current,
                    bool &cancelled) override
    {
        cancelled = true;
        return current;
    }
    void setBusy(bool) override {}
};

// Shows the hourglass for its lifetime unless released earlier.
class BusyPointer {
public:
    explicit BusyPointer(Prompt &p) : m_p(&p) { m_p->setBusy(true); }
    ~BusyPointer() { release(); }
    void release()
    {
        if (m_p)
            m_p->setBusy(false);
        m_p = nullptr;
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    Prompt *m_p;
};

}  // namespace varno
