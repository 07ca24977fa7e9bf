#include "ui/widgets/publishdialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varno {

namespace {

// The form keeps its heights in twips.
constexpr int TwipsPerPixel = 15;

QPushButton *button(QWidget *parent, const QString &caption, const char *name)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

PublishDialog::PublishDialog(Prompt &prompt, AppSettings &settings, SettingsFile &file,
                             const AppPaths &paths, EditorHooks editor, QWidget *parent)
    : QDialog(parent), m_form(prompt, settings, file, paths, std::move(editor))
{
    setWindowTitle(QStringLiteral("Glintory Theme Transfer"));
    // The panels below the upload part show as the window grows; the
    // content keeps its full size and the window clips it.
    m_content = new QWidget(this);
    auto *column = new QVBoxLayout(m_content);
    column->addWidget(m_upload = buildUpload());
    column->addWidget(m_login = buildLogin());
    column->addWidget(buildSignup());
    column->addStretch(1);
    m_upload->setFixedHeight(UploadHeight / TwipsPerPixel - column->contentsMargins().top());
    m_content->resize(m_content->sizeHint().width(), MembershipHeight / TwipsPerPixel);

    m_timer.setSingleShot(true);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, &m_form, &PublishForm::timerTick);
    connect(&m_form, &PublishForm::changed, this, &PublishDialog::showForm);
    connect(&m_form, &PublishForm::closeRequested, this, &QDialog::accept);
    setFixedSize(m_content->width(), UploadHeight / TwipsPerPixel);
}

PublishDialog::~PublishDialog() = default;

QLineEdit *PublishDialog::textField(const char *name, QString PublishForm::*field)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    // Typed text goes straight to the form, so a reply arriving meanwhile
    // never puts back an older text.
    connect(edit, &QLineEdit::textEdited, this,
            [this, field](const QString &t) { m_form.*field = t; });
    m_fields.emplace_back(edit, field);
    return edit;
}

QWidget *PublishDialog::buildUpload()
{
    auto *part = new QWidget(this);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Theme Name:"),
                   textField("themeNameEdit", &PublishForm::themeName));
    fields->addRow(QStringLiteral("Description:"),
                   textField("descriptionEdit", &PublishForm::description));
    fields->addRow(QStringLiteral("Comments: (optioinal)"),
                   textField("commentEdit", &PublishForm::comment));
    m_theme = new QLabel(part);
    m_theme->setObjectName(QStringLiteral("themePathLabel"));
    fields->addRow(QString(), m_theme);

    m_categories = new QListWidget(part);
    m_categories->setObjectName(QStringLiteral("categoryList"));
    connect(m_categories, &QListWidget::currentRowChanged, this,
            [this](int row) { m_form.category = row; });
    auto *platformBox = new QGroupBox(QStringLiteral("Platform"), part);
    auto *options = new QVBoxLayout(platformBox);
    options->setSpacing(0);
    m_platforms = new QButtonGroup(this);
    for (int i = 0; i < int(std::size(kPlatforms)); ++i) {
        auto *option = new QRadioButton(QLatin1String(kPlatforms[i].label), platformBox);
        option->setObjectName(QStringLiteral("platform%1").arg(i));
        m_platforms->addButton(option, i);
        options->addWidget(option);
    }
    connect(m_platforms, &QButtonGroup::idClicked, this, [this](int id) { m_form.platform = id; });
    auto *choices = new QHBoxLayout;
    choices->addWidget(m_categories, 1);
    choices->addWidget(platformBox);

    m_progress = new QProgressBar(part);
    m_progress->setObjectName(QStringLiteral("uploadProgress"));
    m_cancel = button(part, QStringLiteral("Cancel"), "cancelButton");
    connect(m_cancel, &QPushButton::clicked, &m_form, &PublishForm::cancel);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_cancel);

    const std::pair<const char *, const char *> row[] = {
        {"Exit", "exitButton"},
        {"Select Theme", "selectThemeButton"},
        {"Send", "sendButton"},
        {"Send Current Theme", "sendCurrentButton"},
        {"Join Glintory", "joinButton"},
        {"Login Info", "loginInfoButton"},
        {"Membership", "membershipButton"}};
    const std::function<void()> actions[] = {[this] { reject(); },
                                             [this] { m_form.selectTheme(); },
                                             [this] { m_form.send(); },
                                             [this] { m_form.sendCurrentTheme(); },
                                             [this] { m_form.join(); },
                                             [this] { m_form.toggleLoginInfo(); },
                                             [this] { m_form.toggleMembership(); }};
    auto *buttons = new QHBoxLayout;
    for (int i = 0; i < int(std::size(row)); ++i) {
        QPushButton *b = button(part, QLatin1String(row[i].first), row[i].second);
        connect(b, &QPushButton::clicked, this, actions[i]);
        buttons->addWidget(b);
        if (i >= 1 && i <= 4)
            m_requestButtons.push_back(b);
    }

    auto *all = new QVBoxLayout(part);
    all->setContentsMargins(0, 0, 0, 8);
    all->addLayout(fields);
    all->addLayout(choices, 1);
    all->addLayout(progress);
    all->addLayout(buttons);
    return part;
}

QGroupBox *PublishDialog::buildLogin()
{
    auto *box = new QGroupBox(QStringLiteral("Glintory  Login Information"), this);
    box->setObjectName(QStringLiteral("loginPanel"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Login:"), textField("loginEdit", &PublishForm::login));
    QLineEdit *password = textField("passwordEdit", &PublishForm::password);
    password->setEchoMode(QLineEdit::Password);
    fields->addRow(QStringLiteral("Password:"), password);
    QPushButton *save = button(box, QStringLiteral("Save Login"), "saveLoginButton");
    connect(save, &QPushButton::clicked, &m_form, &PublishForm::saveLogin);
    auto *row = new QHBoxLayout(box);
    row->addLayout(fields, 1);
    row->addWidget(save, 0, Qt::AlignBottom);
    return box;
}

QGroupBox *PublishDialog::buildSignup()
{
    auto *box = new QGroupBox(QStringLiteral("Create Account"), this);
    box->setObjectName(QStringLiteral("signupFrame"));
    auto *row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("Handle:"), box));
    row->addWidget(textField("handleEdit", &PublishForm::handle), 1);
    row->addWidget(new QLabel(QStringLiteral("eMail:"), box));
    row->addWidget(textField("emailEdit", &PublishForm::email), 2);
    QPushButton *join = button(box, QStringLiteral("Join Glintory"), "signupJoinButton");
    connect(join, &QPushButton::clicked, &m_form, &PublishForm::join);
    row->addWidget(join);
    m_requestButtons.push_back(join);
    return box;
}

void PublishDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (std::exchange(m_activated, true))
        return;
    // Once the window is on screen, so the notice sits over it.
    QTimer::singleShot(0, this, [this] {
        m_form.activate(UploadHeight, m_login->sizeHint().height() * TwipsPerPixel);
    });
}

void PublishDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_activated)
        m_form.repaint();
}

void PublishDialog::showForm()
{
    for (const auto &[edit, field] : m_fields)
        if (edit->text() != m_form.*field)
            edit->setText(m_form.*field);
    if (m_categories->count() != m_form.categories.size() ||
        (m_categories->count() && m_categories->item(0)->text() != m_form.categories.first())) {
        const QSignalBlocker quiet(m_categories);
        m_categories->clear();
        m_categories->addItems(m_form.categories);
    }
    if (m_categories->currentRow() != m_form.category) {
        const QSignalBlocker quiet(m_categories);
        m_categories->setCurrentRow(m_form.category);
    }
    if (QAbstractButton *option = m_platforms->button(m_form.platform))
        option->setChecked(true);
    m_theme->setText(m_form.themePath);
    m_progress->setVisible(m_form.uploading);
    m_cancel->setVisible(m_form.uploading);
    m_progress->setRange(0, m_form.total > 0 ? 1000 : 0);
    m_progress->setValue(m_form.total > 0 ? int(m_form.sent * 1000 / m_form.total) : 0);
    for (QPushButton *b : m_requestButtons)
        b->setEnabled(!m_form.requestRunning());
    if (m_form.timerEnabled && !m_timer.isActive())
        m_timer.start();
    else if (!m_form.timerEnabled)
        m_timer.stop();
    setFixedHeight(m_form.height > 0 ? m_form.height / TwipsPerPixel : height());
}

void PublishDialog::done(int result)
{
    // Closing stops the request; its reply would have no window to go to.
    m_form.cancel();
    m_timer.stop();
    QDialog::done(result);
}

void showPublishWindow(QWidget *parent, Prompt &prompt, AppSettings &settings, SettingsFile &file,
                       const AppPaths &paths, EditorHooks editor)
{
    PublishDialog dialog(prompt, settings, file, paths, std::move(editor), parent);
    dialog.exec();
}

}  // namespace varno
