// A Prompt that records every question exactly and answers from a script.
// Message boxes are answered OK; one offering more than OK, an unscripted
// dialog or any text input box fails the running test.
#pragma once

#include "base/prompt.h"
#include "support/printers.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace varno::test {

struct RecordedMessage {
    QString text;
    MsgIcon icon;
    QString title;
    MsgButtons buttons;
    bool operator==(const RecordedMessage &) const = default;
};

struct RecordedCall {
    enum Kind { Message, Color, Open, Save } kind = Message;
    RecordedMessage message{};   // Message
    uint32_t initialColour = 0;  // Color
    bool fullOpen = false;       // Color
    FileDialogRequest file;      // Open, Save
};

class ScriptedPrompt : public Prompt {
public:
    // Script: answers are taken in order, per kind of question.
    void answerColor(uint32_t c) { m_colorAnswers.push_back(c); }
    void cancelColor() { m_colorAnswers.push_back(std::nullopt); }
    void answerFile(const QString &path) { m_fileAnswers.push_back(path); }
    void cancelFile() { m_fileAnswers.push_back(std::nullopt); }

    // What was asked.
    const std::vector<RecordedCall> &calls() const { return m_calls; }
    std::vector<RecordedMessage> messages() const;
    bool isBusy() const { return m_busyDepth > 0; }
    int busyOnCount() const { return m_busyOn; }
    void clear();

    MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                         MsgButtons buttons) override;
    uint32_t chooseColour(uint32_t initial, bool fullOpen) override;
    QString chooseFileToOpen(const FileDialogRequest &request) override;
    QString chooseFileToSave(const FileDialogRequest &request) override;
    QString askText(const QString &prompt, const QString &title, const QString &current,
                    bool &cancelled) override;
    void setBusy(bool busy) override;

private:
    QString nextFile(RecordedCall::Kind kind, const FileDialogRequest &request);

    std::vector<RecordedCall> m_calls;
    std::deque<std::optional<uint32_t>> m_colorAnswers;
    std::deque<std::optional<QString>> m_fileAnswers;
    int m_busyDepth = 0;
    int m_busyOn = 0;
};

}  // namespace varno::test

// Readable failure output for recorded messages.
void PrintTo(const varno::test::RecordedMessage &m, std::ostream *os);
