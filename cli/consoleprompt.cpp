// Messages of headless commands, and the answers they queue for dialogs.
#include "cli/consoleprompt.h"

#include "base/runtimeerror.h"

#include <QRegularExpression>

namespace varno {

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

MsgResult ConsolePrompt::messageBox(const QString &text, MsgIcon icon, const QString &title,
                                    MsgButtons buttons)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain = plain.simplified();
    // The error boxes' wording names the procedure, which means nothing on
    // a command line: "Error: why (LoadTheme)" says "why".
    static const QRegularExpression boxed(QStringLiteral("^Error(?: in [^:]*)?: (.*) \\(\\w+\\)$"));
    const QRegularExpressionMatch m = boxed.match(plain);
    if (m.hasMatch())
        plain = m.captured(1);
    m_err << "varno: ";
    if (!m_subject.isEmpty())
        m_err << printable(m_subject) << ": ";
    m_err << printable(plain) << "\n";
    m_err.flush();
    if (icon == MsgIcon::Critical || icon == MsgIcon::Exclamation)
        m_failed = true;
    (void)title;
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::No;
    case MsgButtons::OKCancel:
    case MsgButtons::SaveDiscardCancel:
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
