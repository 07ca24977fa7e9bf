// A Prompt that records every question exactly and answers from a script.
// Boxes offering OK alone are answered OK; an unscripted question or dialog,
// or any text input box, fails the running test.
#pragma once

#include "base/prompt.h"
#include "base/runtimeerror.h"
// Also gtest, <optional> and the Qt printers.
#include "support/sandbox.h"

#include <deque>
#include <vector>

namespace varno::test {

struct RecordedMessage {
    QString text;
    MsgIcon icon;
    QString title;
    MsgButtons buttons;
    bool operator==(const RecordedMessage &) const = default;
};

// A box offering OK alone, as nearly all are.
inline RecordedMessage okBox(const QString &text, const QString &title = "Velmora - Error",
                             MsgIcon icon = MsgIcon::Critical)
{
    return {text, icon, title, MsgButtons::OK};
}

// The RuntimeError `f` throws, if any.
template <typename F> std::optional<RuntimeError> thrownBy(F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e;
    }
    return std::nullopt;
}

// Number of the RuntimeError `f` throws, 0 when it throws none; its text
// goes to `description` when asked for.
template <typename F> int errorOf(F &&f, QString *description = nullptr)
{
    const std::optional<RuntimeError> e = thrownBy(f);
    if (e && description)
        *description = e->description;
    return e ? e->number : 0;
}

// Readable failure output.
inline void PrintTo(const RecordedMessage &m, std::ostream *os)
{
    *os << "{\"" << m.text.toStdString() << "\", icon " << int(m.icon) << ", \""
        << m.title.toStdString() << "\", buttons " << int(m.buttons) << "}";
}

struct RecordedCall {
    enum Kind { Message, Color, Open, Save } kind = Message;
    RecordedMessage message{};   // Message
    uint32_t initialColour = 0;  // Color
    bool fullOpen = false;       // Color
    FileDialogRequest file{};    // Open, Save
};

class ScriptedPrompt : public Prompt {
public:
    // Script: answers are taken in order, per kind of question.
    void answerColor(uint32_t c) { m_colorAnswers.push_back(c); }
    void cancelColor() { m_colorAnswers.push_back(std::nullopt); }
    void answerFile(const QString &path) { m_fileAnswers.push_back(path); }
    // The answer to the next box that offers more than OK.
    void answerQuestion(MsgResult r) { m_questionAnswers.push_back(r); }
    void cancelFile() { m_fileAnswers.push_back(std::nullopt); }

    // What was asked.
    const std::vector<RecordedCall> &calls() const { return m_calls; }
    std::vector<RecordedMessage> messages() const
    {
        std::vector<RecordedMessage> out;
        for (const RecordedCall &c : m_calls)
            if (c.kind == RecordedCall::Message)
                out.push_back(c.message);
        return out;
    }
    // Title, filter, folder and file name of the `i`th question, to check whole.
    QStringList fileAsked(size_t i = 0) const
    {
        const FileDialogRequest &f = m_calls.at(i).file;
        return {f.title, f.filter, f.initialFolder, f.fileName};
    }
    bool isBusy() const { return m_busyDepth > 0; }
    int busyOnCount() const { return m_busyOn; }
    void clear()
    {
        m_calls.clear();
        m_colorAnswers.clear();
        m_fileAnswers.clear();
        m_questionAnswers.clear();
    }

    MsgResult messageBox(const QString &text, MsgIcon icon, const QString &title,
                         MsgButtons buttons) override
    {
        m_calls.push_back({RecordedCall::Message, {text, icon, title, buttons}});
        if (buttons == MsgButtons::OK)
            return MsgResult::OK;
        if (m_questionAnswers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text.toStdString();
            return MsgResult::Cancel;
        }
        const MsgResult r = m_questionAnswers.front();
        m_questionAnswers.pop_front();
        return r;
    }
    uint32_t chooseColour(uint32_t initial, bool fullOpen) override
    {
        return next(m_colorAnswers,
                    {.kind = RecordedCall::Color, .initialColour = initial, .fullOpen = fullOpen});
    }
    QString chooseFileToOpen(const FileDialogRequest &request) override
    {
        return next(m_fileAnswers, {.kind = RecordedCall::Open, .file = request});
    }
    QString chooseFileToSave(const FileDialogRequest &request) override
    {
        return next(m_fileAnswers, {.kind = RecordedCall::Save, .file = request});
    }
    QString askText(const QString &prompt, const QString &, const QString &, bool &) override
    {
        ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
        throw cancelError();
    }
    void setBusy(bool busy) override
    {
        m_busyOn += busy;
        m_busyDepth = std::max(0, m_busyDepth + (busy ? 1 : -1));
    }

private:
    // Records the call and gives the next scripted answer; with none left the
    // test fails and the dialog is cancelled.
    template <typename T> T next(std::deque<std::optional<T>> &answers, const RecordedCall &call)
    {
        m_calls.push_back(call);
        const std::optional<T> a = answers.empty() ? std::nullopt : answers.front();
        if (answers.empty())
            ADD_FAILURE() << "unscripted dialog: " << call.file.title.toStdString();
        else
            answers.pop_front();
        if (!a)
            throw cancelError();
        return *a;
    }

    std::vector<RecordedCall> m_calls;
    std::deque<std::optional<uint32_t>> m_colorAnswers;
    std::deque<std::optional<QString>> m_fileAnswers;
    std::deque<MsgResult> m_questionAnswers;
    int m_busyDepth = 0;
    int m_busyOn = 0;
};

}  // namespace varno::test
