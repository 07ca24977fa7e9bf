// The save compression dialog, the About box and the one-line input box.
#include "ui/widgets/smalldialogs_p.h"

#include "ui/widgets/dialogparts_p.h"
#include "ui/widgets/dialogs.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace varno {

namespace {

QPushButton *addButton(QDialog *dialog, QHBoxLayout *row, const QString &caption, const char *name)
{
    auto *button = new QPushButton(caption, dialog);
    button->setObjectName(QLatin1String(name));
    row->addWidget(button);
    return button;
}

}  // namespace

SaveThemeDialog::SaveThemeDialog(QWidget *parent)
    : QDialog(parent), m_choice(CompressionChoice::cancel())
{
    setWindowTitle(QStringLiteral("Save Theme"));
    auto *text = new QLabel(QStringLiteral("Select compression of images in theme.  Higher "
                                           "compression creates smaller files.  Low compression "
                                           "creates larger files with higher quality images."),
                            this);
    text->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    m_option = new QButtonGroup(this);
    m_option->setObjectName(QStringLiteral("Option"));
    const QString captions[] = {QStringLiteral("High Compression"),
                                QStringLiteral("Med Compression"),
                                QStringLiteral("Low Compression")};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("Option%1").arg(i));
        m_option->addButton(option, i);
        layout->addWidget(option);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *save = addButton(this, buttons, QStringLiteral("Save"), "btnSave");
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        m_model.option = m_option->checkedId();
        m_choice = m_model.save();
        accept();
    });
    QPushButton *cancel = addButton(this, buttons, QStringLiteral("Cancel"), "btnCancel");
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_choice = CompressionChoice::cancel();
        reject();
    });
    layout->addLayout(buttons);
    setMinimumWidth(380);

    checkOption(m_option, m_model.option);
}

QString askCompression(QWidget *parent)
{
    SaveThemeDialog dialog(parent);
    dialog.exec();
    return dialog.choice();
}

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    m_model.load();
    setWindowTitle(QStringLiteral("About ") + m_model.programName);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 20, 40, 20);
    layout->setSpacing(8);
    const struct {
        const char *name;
        const QString &text;
        int points;
        bool bold;
    } labels[] = {{"Label1", m_model.programName, 16, true},
                  {"Label2", m_model.siteAddress, 10, false},
                  {"lblVersion", m_model.versionText, 10, false}};
    for (const auto &l : labels) {
        auto *label = new QLabel(l.text, this);
        label->setObjectName(QLatin1String(l.name));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(l.points);
        font.setBold(l.bold);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->installEventFilter(this);
        layout->addWidget(label);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = addButton(this, buttons, QStringLiteral("OK"), "btnOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QLabel *>(watched)) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::mouseReleaseEvent(QMouseEvent *event)
{
    QDialog::mouseReleaseEvent(event);
    accept();
}

void showAboutDialog(QWidget *parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

QWidget *showHelpWindow(QWidget *parent, const QString &folder, const QString &topic)
{
    auto *window = parent ? parent->findChild<QDialog *>(QStringLiteral("helpWindow")) : nullptr;
    if (!window) {
        window = new QDialog(parent, Qt::Window);
        window->setObjectName(QStringLiteral("helpWindow"));
        window->setWindowTitle(QStringLiteral("Varno Help"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto *pages = new QTextBrowser(window);
        pages->setObjectName(QStringLiteral("pages"));
        pages->setOpenExternalLinks(true);
        auto *row = new QHBoxLayout;
        QPushButton *back = addButton(window, row, QStringLiteral("Back"), "back");
        QPushButton *forward = addButton(window, row, QStringLiteral("Forward"), "forward");
        QPushButton *contents = addButton(window, row, QStringLiteral("Contents"), "contents");
        row->addStretch();
        QPushButton *close = addButton(window, row, QStringLiteral("Close"), "close");
        back->setEnabled(false);
        forward->setEnabled(false);
        QObject::connect(back, &QPushButton::clicked, pages, &QTextBrowser::backward);
        QObject::connect(forward, &QPushButton::clicked, pages, &QTextBrowser::forward);
        QObject::connect(contents, &QPushButton::clicked, pages, &QTextBrowser::home);
        QObject::connect(close, &QPushButton::clicked, window, &QDialog::close);
        QObject::connect(pages, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        QObject::connect(pages, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
        QObject::connect(pages, &QTextBrowser::sourceChanged, window,
                         [window, pages] { window->setWindowTitle(pages->documentTitle()); });
        auto *layout = new QVBoxLayout(window);
        layout->addWidget(pages);
        layout->addLayout(row);
        window->resize(640, 560);
    }
    auto *pages = window->findChild<QTextBrowser *>(QStringLiteral("pages"));
    pages->setSource(QUrl::fromLocalFile(folder + u'/' + topic));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

InputBoxDialog::InputBoxDialog(const QString &prompt, const QString &title, const QString &current,
                               QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    m_model.load();
    m_model.text = current;
    m_model.result = current;

    auto *label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("lblPrompt"));
    label->setWordWrap(true);
    m_text = new QLineEdit(m_model.text, this);
    m_text->setObjectName(QStringLiteral("txtInput"));
    m_text->selectAll();
    label->setBuddy(m_text);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = addButton(this, buttons, QStringLiteral("OK"), "btnOk");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_model.text = m_text->text();
        m_model.accept();
        accept();
    });
    QPushButton *cancel = addButton(this, buttons, QStringLiteral("Cancel"), "btnCancel");
    connect(cancel, &QPushButton::clicked, this, &InputBoxDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void InputBoxDialog::reject()
{
    m_model.text = m_text->text();
    m_model.cancel();
    QDialog::reject();
}

}  // namespace varno
