// Messages of headless commands, and the answers they queue for dialogs.
#include "cli/consoleprompt.h"

#include "base/runtimeerror.h"

namespace varno {

MsgResult ConsolePrompt::messageBox(const QString &text, MsgIcon icon, const QString &title,
                                    MsgButtons buttons)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_err << "varno: " << plain.simplified() << "\n";
    m_err.flush();
    if (icon == MsgIcon::Critical || icon == MsgIcon::Exclamation)
        m_failed = true;
    (void)title;
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::No;
    case MsgButtons::OKCancel:
    case MsgButtons::RetryCancel: return MsgResult::Cancel;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
    default: return MsgResult::OK;
    }
}

uint32_t ConsolePrompt::chooseColour(uint32_t, bool)
{
    if (m_colours.empty())
        throw cancelError();
    const uint32_t colour = m_colours.front();
    m_colours.pop_front();
    return colour;
}

QString ConsolePrompt::chooseFileToOpen(const FileDialogRequest &)
{
    if (m_files.empty())
        throw cancelError();
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ConsolePrompt::chooseFileToSave(const FileDialogRequest &)
{
    throw cancelError();
}

QString ConsolePrompt::askText(const QString &, const QString &, const QString &current,
                               bool &cancelled)
{
    cancelled = true;
    return current;
}

}  // namespace varno
