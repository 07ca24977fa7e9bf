// The Prompt port on Qt's dialogs.
#include "ui/widgets/qtprompt.h"

#include "base/messages.h"
#include "base/runtimeerror.h"
#include "ui/widgets/qtprompt_p.h"
#include "ui/widgets/smalldialogs_p.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QRegularExpression>

#include <algorithm>

namespace varno {

namespace {

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;
    // What Escape or the window frame answers.
    QMessageBox::StandardButton cancel;
};

ButtonSet buttonSet(MsgButtons buttons)
{
    using B = QMessageBox;
    switch (buttons) {
    case MsgButtons::OK: return {B::Ok, B::Ok, B::Ok};
    case MsgButtons::OKCancel: return {B::Ok | B::Cancel, B::Ok, B::Cancel};
    case MsgButtons::AbortRetryIgnore: return {B::Abort | B::Retry | B::Ignore, B::Abort, B::Abort};
    case MsgButtons::YesNoCancel: return {B::Yes | B::No | B::Cancel, B::Yes, B::Cancel};
    case MsgButtons::YesNo: return {B::Yes | B::No, B::Yes, B::No};
    case MsgButtons::RetryCancel: return {B::Retry | B::Cancel, B::Retry, B::Cancel};
    case MsgButtons::SaveDiscardCancel:
        return {B::Save | B::Discard | B::Cancel, B::Save, B::Cancel};
    }
    return {B::Ok, B::Ok, B::Ok};
}

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

bool hasWildcard(const QString &text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// The hourglass belongs to the work, not to a question asked during it.
class NormalPointer {
public:
    explicit NormalPointer(bool busy) : m_on(busy)
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointer()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;

private:
    bool m_on;
};

}  // namespace

QString qtFileFilter(const QString &filter)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString spec = i + 1 < parts.size() ? parts[i + 1] : QString();
        QStringList patterns;
        for (QString pattern : spec.split(separators, Qt::SkipEmptyParts)) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
            if (!patterns.contains(pattern))
                patterns << pattern;
        }
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // Qt reads the patterns from the last parentheses, separated by
        // blanks: a pattern list already in the description must go.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (description.endsWith(QLatin1Char(')')) && open >= 0 &&
            hasWildcard(description.mid(open)))
            description = description.left(open).trimmed();
        const QString list = patterns.join(QLatin1Char(' '));
        entries << (description.isEmpty() ? list : description) + QStringLiteral(" (") + list +
                       QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString fileDialogStart(const FileDialogRequest &request)
{
    QString name = request.fileName;
    // "/x/tsk/*.tsk" names a folder to look in, not a file to choose.
    if (hasWildcard(name))
        name = name.left(name.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty())
        return request.initialFolder;
    if (request.initialFolder.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    return QDir(request.initialFolder).filePath(name);
}

QString plainLineBreaks(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain;
}

QColor toQColor(uint32_t colour)
{
    return QColor(int(colour & 0xFFu), int(colour >> 8 & 0xFFu), int(colour >> 16 & 0xFFu));
}

uint32_t fromQColor(const QColor &colour)
{
    return static_cast<uint32_t>(rgb(colour.red(), colour.green(), colour.blue()));
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString &text, MsgIcon icon, const QString &title,
                                            MsgButtons buttons, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(title);
    // Messages quote file names and error texts, never markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(plainLineBreaks(text));
    box->setIcon(qtIcon(icon));
    const ButtonSet set = buttonSet(buttons);
    box->setStandardButtons(set.buttons);
    box->setDefaultButton(set.first);
    box->setEscapeButton(set.cancel);
    return box;
}

MsgResult toMsgResult(QMessageBox::StandardButton pressed, MsgButtons buttons)
{
    const ButtonSet set = buttonSet(buttons);
    if (!set.buttons.testFlag(pressed))
        pressed = set.cancel;
    switch (pressed) {
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Abort: return MsgResult::Abort;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Ignore: return MsgResult::Ignore;
    case QMessageBox::Yes:
    case QMessageBox::Save: return MsgResult::Yes;
    case QMessageBox::No:
    case QMessageBox::Discard: return MsgResult::No;
    default: return MsgResult::OK;
    }
}

QtPrompt::QtPrompt(QWidget *parent) : m_parent(parent)
{
}

QtPrompt::~QtPrompt()
{
    delete m_progress.data();
    // Give back any hourglass still shown, unless the application is gone.
    if (qGuiApp) {
        for (; m_busyDepth > 0; --m_busyDepth)
            QGuiApplication::restoreOverrideCursor();
    }
}

void QtPrompt::setParent(QWidget *parent)
{
    m_parent = parent;
}

MsgResult QtPrompt::messageBox(const QString &text, MsgIcon icon, const QString &title,
                               MsgButtons buttons)
{
    NormalPointer normal(m_busyDepth > 0);
    const std::unique_ptr<QMessageBox> box = makeMessageBox(text, icon, title, buttons, m_parent);
    box->exec();
    return toMsgResult(box->standardButton(box->clickedButton()), buttons);
}

uint32_t QtPrompt::chooseColour(uint32_t initial, bool fullOpen)
{
    (void)fullOpen;
    NormalPointer normal(m_busyDepth > 0);
    const QColor chosen = QColorDialog::getColor(toQColor(initial), m_parent);
    if (!chosen.isValid())
        throw cancelError();
    return fromQColor(chosen);
}

QString QtPrompt::chooseFileToOpen(const FileDialogRequest &request)
{
    NormalPointer normal(m_busyDepth > 0);
    const QString chosen = QFileDialog::getOpenFileName(
        m_parent, request.title, fileDialogStart(request), qtFileFilter(request.filter));
    if (chosen.isEmpty())
        throw cancelError();
    return chosen;
}

QString QtPrompt::chooseFileToSave(const FileDialogRequest &request)
{
    NormalPointer normal(m_busyDepth > 0);
    const QString chosen = QFileDialog::getSaveFileName(
        m_parent, request.title, fileDialogStart(request), qtFileFilter(request.filter));
    if (chosen.isEmpty())
        throw cancelError();
    return chosen;
}

QString QtPrompt::askText(const QString &prompt, const QString &title, const QString &current,
                          bool &cancelled)
{
    NormalPointer normal(m_busyDepth > 0);
    InputBoxDialog box(prompt, title, current, m_parent);
    box.exec();
    cancelled = box.model().cancelled;
    return box.model().result;
}

void QtPrompt::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtPrompt::progress(const QString &what, int done, int total)
{
    if (total <= 0)
        return;
    if (done >= total) {
        delete m_progress.data();
        return;
    }
    if (!m_progress) {
        m_progress = new QProgressDialog(m_parent);
        m_progress->setWindowTitle(stringResource(Str::AppName));
        m_progress->setWindowModality(Qt::WindowModal);
        // The port has no way to stop work part-way.
        m_progress->setCancelButton(nullptr);
        m_progress->setMinimumDuration(500);
        m_progress->setValue(0);
    }
    m_progress->setLabelText(what);
    m_progress->setMaximum(total);
    m_progress->setValue(std::max(done, 0));
}

}  // namespace varno
