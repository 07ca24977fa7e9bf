#include "support/scriptedprompt.h"

#include "base/runtimeerror.h"

#include <gtest/gtest.h>

#include <ostream>

namespace varno::test {

std::vector<RecordedMessage> ScriptedPrompt::messages() const
{
    std::vector<RecordedMessage> out;
    for (const RecordedCall &c : m_calls)
        if (c.kind == RecordedCall::Message)
            out.push_back(c.message);
    return out;
}

void ScriptedPrompt::clear()
{
    m_calls.clear();
    m_colorAnswers.clear();
    m_fileAnswers.clear();
}

MsgResult ScriptedPrompt::messageBox(const QString &text, MsgIcon icon, const QString &title,
                                     MsgButtons buttons)
{
    RecordedCall c;
    c.kind = RecordedCall::Message;
    c.message = {text, icon, title, buttons};
    m_calls.push_back(c);
    if (buttons != MsgButtons::OK)
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
    return MsgResult::OK;
}

uint32_t ScriptedPrompt::chooseColour(uint32_t initial, bool fullOpen)
{
    RecordedCall c;
    c.kind = RecordedCall::Color;
    c.initialColour = initial;
    c.fullOpen = fullOpen;
    m_calls.push_back(c);
    if (m_colorAnswers.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        throw cancelError();
    }
    const std::optional<uint32_t> a = m_colorAnswers.front();
    m_colorAnswers.pop_front();
    if (!a)
        throw cancelError();
    return *a;
}

QString ScriptedPrompt::nextFile(RecordedCall::Kind kind, const FileDialogRequest &request)
{
    RecordedCall c;
    c.kind = kind;
    c.file = request;
    m_calls.push_back(c);
    if (m_fileAnswers.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << request.title.toStdString();
        throw cancelError();
    }
    const std::optional<QString> a = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!a)
        throw cancelError();
    return *a;
}

QString ScriptedPrompt::chooseFileToOpen(const FileDialogRequest &request)
{
    return nextFile(RecordedCall::Open, request);
}

QString ScriptedPrompt::chooseFileToSave(const FileDialogRequest &request)
{
    return nextFile(RecordedCall::Save, request);
}

QString ScriptedPrompt::askText(const QString &prompt, const QString &, const QString &current,
                                bool &cancelled)
{
    ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
    cancelled = true;
    return current;
}

void ScriptedPrompt::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        ++m_busyOn;
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
    }
}

}  // namespace varno::test

void PrintTo(const varno::test::RecordedMessage &m, std::ostream *os)
{
    *os << "{text \"" << m.text.toStdString() << "\", icon " << static_cast<int>(m.icon)
        << ", title \"" << m.title.toStdString() << "\", buttons " << static_cast<int>(m.buttons)
        << "}";
}
