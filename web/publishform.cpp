#include "web/publishform.h"

#include "app/profiles.h"
#include "base/codepage.h"
#include "base/messages.h"
#include "base/trap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varno {

const Platform kPlatforms[7] = {{"Standard", "1"},       {"QVGA", "8"},      {"VGA", "5"},
                                {"Square 240", "9"},     {"QVGA WM5", "11"}, {"VGA WM5", "12"},
                                {"Square 240 WM5", "13"}};

namespace {

const QString BoxTitleWindow = QStringLiteral("frmTransferGLNT");
const QString EndOfCategories = QStringLiteral("END_0F_CATEGORIES");

QString maker()
{
    return stringResource(Str::Maker);
}

QString errorTitle()
{
    return stringResource(Str::Error);
}

QByteArray readWhole(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw runtimeError(Err::FileNotFound);
    return f.readAll();
}

}  // namespace

PublishForm::PublishForm(Prompt &prompt, AppSettings &settings, SettingsFile &file,
                         const AppPaths &paths, EditorHooks editor, QObject *parent)
    : QObject(parent), site(readSiteAddresses(file, settingsSectionName())), m_prompt(prompt),
      m_settings(settings), m_file(file), m_paths(paths), m_editor(std::move(editor)),
      m_passwords(file, settingsSectionName())
{
    connect(&m_client, &WebClient::uploadProgress, this, [this](qint64 done, qint64 of) {
        sent = done;
        total = of;
        emit changed();
    });
}

void PublishForm::info(const QString &text, const QString &title)
{
    m_prompt.messageBox(text, MsgIcon::Information, title);
}

void PublishForm::warn(const QString &text, const QString &title)
{
    m_prompt.messageBox(text, MsgIcon::Exclamation, title);
}

void PublishForm::critical(const QString &text, const QString &title)
{
    m_prompt.messageBox(text, MsgIcon::Critical, title);
}

void PublishForm::setBusy(bool busy)
{
    if (busy != m_busy)
        m_prompt.setBusy(busy);
    m_busy = busy;
}

void PublishForm::activate(int initialHeight, int loginPanelHeight)
{
    const QString stored =
        m_settings.siteUser.isEmpty() ? QString() : m_passwords.read(m_settings.siteUser);
    m_settings.sitePassword = stored;
    if (!m_settings.siteUser.isEmpty() && !stored.isEmpty()) {
        loggedIn = true;
        login = m_settings.siteUser;
        password = stored;
        setBusy(true);
        timerEnabled = true;
    } else {
        timerEnabled = false;
        info(QStringLiteral("No login and/or password set.  Please enter Orbelle login and "
                            "password and click save."),
             QStringLiteral("NOTICE"));
        loggedIn = false;
    }
    height = m_initialHeight = initialHeight;
    m_loginPanelHeight = loginPanelHeight;
    emit changed();
}

void PublishForm::repaint()
{
    if (!m_settings.siteUser.isEmpty() && !categoriesRequested && !timerEnabled) {
        timerEnabled = true;
        emit changed();
    }
}

void PublishForm::timerTick()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("Timer_Timer"), [&] {
        timerEnabled = false;
        if (!loggedIn) {
            info(QStringLiteral("No Logon!  Please go to Settings and set Logon."), errorTitle());
            return;
        }
        categoriesRequested = true;
        fetchCategories();
    });
    emit changed();
}

void PublishForm::fetchCategories()
{
    try {
        if (m_client.get(categoriesUrl(site, login, password),
                         [this](const WebReply &r) { categoryReply(r); }))
            setBusy(true);
    } catch (...) {
        const RuntimeError e = currentError();
        critical(QStringLiteral("Error Requesting Categories! (%1) (%2)")
                     .arg(e.description)
                     .arg(e.number),
                 errorTitle());
    }
}

bool PublishForm::replyArrived(const WebReply &reply)
{
    uploading = false;
    if (reply.ok)
        return true;
    setBusy(false);
    if (!reply.cancelled)
        critical(QStringLiteral("WebForm Error: ") + reply.error, errorTitle());
    emit changed();
    emit requestFinished();
    return false;
}

void PublishForm::categoryReply(const WebReply &reply)
{
    if (!replyArrived(reply))
        return;
    lastReply = fromCp1252(reply.body);
    if (lastReply.left(10) == QLatin1String("CATEGORIES")) {
        m_replyText = lastReply;
        processData();
    } else if (lastReply.contains(QLatin1String("NOT_REGISTERED"), Qt::CaseInsensitive)) {
        setBusy(false);
        critical(QStringLiteral("Check Your Password or Login!  Make sure you are registered as "
                                "an Author with Glintory.\r\nIf you still have this problem "
                                "contact Glintory Admin.\r\nOr try again later."),
                 errorTitle());
    } else {
        // The list may come in pieces; a piece without the marker continues it.
        m_replyText += lastReply;
        processData();
    }
    emit changed();
    emit requestFinished();
}

void PublishForm::processData()
{
    trap(m_prompt, QStringLiteral("frmTransferBatch"), QStringLiteral("Sub"),
         QStringLiteral("ProcessData"), [&] {
             setBusy(true);
             categories.clear();
             category = -1;
             m_categoryFields = m_replyText.split(QLatin1Char('|'));
             if (m_categoryFields.size() < 3) {
                 critical(QStringLiteral("Category data corrupted!"), errorTitle());
                 return;
             }
             for (qsizetype i = 1; i < m_categoryFields.size(); ++i) {
                 const QString &field = m_categoryFields[i];
                 if (field == EndOfCategories)
                     break;
                 const qsizetype colon = field.indexOf(QLatin1Char(':'));
                 // A name without its identifier cannot be sent; what came
                 // before it stays listed.
                 if (colon < 0)
                     throw runtimeError(Err::InvalidProcedureCall);
                 categories << field.left(colon);
             }
         });
    setBusy(false);
}

void PublishForm::join()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("JoinGlintory"), [&] {
        if (email.trimmed().isEmpty()) {
            warn(QStringLiteral("Please enter your email address in the Login text box!"), maker());
            return;
        }
        if (handle.trimmed().isEmpty()) {
            warn(QStringLiteral("Please enter your handle in the handle text box!"), maker());
            return;
        }
        const auto answered = [this](const WebReply &reply) {
            if (!replyArrived(reply))
                return;
            setBusy(false);
            lastReply = fromCp1252(reply.body);
            static const std::pair<const char *, const char *> warnings[] = {
                {"ERROR|EMAIL_AREADY_EXISTS",
                 "This email address already exists! Please try another one."},
                {"ERROR|HANDLE_AREADY_EXISTS",
                 "This handle already exists! Please try another one."},
                {"ERROR|FAIL", "Unknown error!  Please try again later."}};
            if (lastReply == QLatin1String("ERROR|OK"))
                info(QStringLiteral("An email has been sent to the address provided.\r\nFollow the "
                                    "instructions in the email to finish the process."),
                     maker());
            for (const auto &[reply, text] : warnings)
                if (lastReply == QLatin1String(reply))
                    warn(QString::fromLatin1(text), maker());
            emit changed();
            emit requestFinished();
        };
        if (m_client.get(signupUrl(site, handle.trimmed(), email.trimmed()), answered))
            setBusy(true);
    });
}

void PublishForm::saveLogin()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("btnSave_Click"), [&] {
        m_settings.siteUser = login.trimmed();
        m_settings.sitePassword = password.trimmed();
        m_file.writeString(settingsSectionName(), QStringLiteral("GLNTUSER"), m_settings.siteUser);
        const QString note = m_passwords.write(m_settings.siteUser, m_settings.sitePassword);
        if (!note.isEmpty())
            info(note, maker());
        info(QStringLiteral("This screen will close now.  Re open to login"), maker());
        emit closeRequested();
    });
}

void PublishForm::toggleLoginInfo()
{
    const int open = m_initialHeight + m_loginPanelHeight + 60;
    height = height == m_initialHeight ? open : m_initialHeight;
    emit changed();
}

void PublishForm::toggleMembership()
{
    height = height == m_initialHeight ? MembershipHeight : m_initialHeight;
    emit changed();
}

void PublishForm::selectTheme()
{
    height = UploadHeight;
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("SelectTheme"), [&] {
        themePath.clear();
        const QString chosen = chooseFileToOpenOrEmpty(
            m_prompt, {QStringLiteral("Select TSK File"), QStringLiteral("TSK files (*.TSK)|*.TSK"),
                       QString(), m_settings.themesFolder + QStringLiteral("*.tsk")});
        if (chosen.isEmpty())
            return;
        themePath = chosen;
        themeName = baseName(themePath);
    });
    emit changed();
}

void PublishForm::sendCurrentTheme()
{
    height = UploadHeight;
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("SendCurrentTheme"), [&] {
        const QString editorName = m_editor.themeName();
        if (themeName.trimmed().isEmpty() && editorName.trimmed().isEmpty()) {
            warn(QStringLiteral("Enter Theme Name First!"), QStringLiteral("Need a File Name"));
            return;
        }
        if (!editorName.isEmpty() && themeName.isEmpty())
            themeName = editorName;
        if (editorName.isEmpty())
            m_editor.setThemeName(themeName);
        if (description.trimmed().isEmpty()) {
            warn(QStringLiteral("Please Enter a Description!"), maker());
            return;
        }
        // The name becomes a file in the themes folder: no folder parts.
        if (filterThemeName(themeName) != themeName) {
            warn(QStringLiteral("A theme name may hold only letters, digits, spaces, '-', '.' "
                                "and '_'."),
                 QStringLiteral("Need a File Name"));
            return;
        }
        themePath = m_settings.themesFolder + themeName + QStringLiteral(".tsk");
        if (m_editor.saveThemeHigh(themePath))
            sendTheme();
    });
    emit changed();
}

void PublishForm::send()
{
    height = UploadHeight;
    sendTheme();
    emit changed();
}

void PublishForm::sendTheme()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Sub"), QStringLiteral("SendTheme"), [&] {
        const std::pair<bool, const char *> missing[] = {
            {description.trimmed().isEmpty(), "Please Enter a Description!"},
            {themePath.isEmpty(), "Please select a Theme to send!"},
            {category < 0 || category >= categories.size(), "Please select a catagory!"},
            {platform < 0 || platform >= int(std::size(kPlatforms)), "Please select Platform!"}};
        for (const auto &[isMissing, text] : missing)
            if (isMissing) {
                // Only the first check names the maker alone.
                warn(QString::fromLatin1(text), text == missing[0].second ? maker() : errorTitle());
                return;
            }
        if (m_client.running())
            return;
        setBusy(true);
        const QDir previews(m_paths.folder(QStringLiteral("pt")));
        for (const QString &file : previews.entryList(QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(previews.filePath(file));
        previews.mkpath(QStringLiteral("."));
        if (!m_editor.loadAndCapture(themePath, baseName(themePath)))
            critical(QStringLiteral("Error creating Screen Capture!"), QStringLiteral("ERROR"));
        else
            webUploadData();
    });
    if (!m_client.running())
        setBusy(false);
}

void PublishForm::webUploadData()
{
    trap(m_prompt, BoxTitleWindow, QStringLiteral("Function"), QStringLiteral("WebUploadData"),
         [&] {
             const QByteArray boundary = m_boundaries.next();
             const QString name = baseName(themePath);
             const QString field = m_categoryFields.value(category + 1);
             const QString preview = m_paths.folder(QStringLiteral("pt")) + QLatin1Char('/') +
                                     name + QStringLiteral(".jpg");
             const std::vector<FormPart> parts = {
                 {"cat", siteText(field.mid(field.indexOf(QLatin1Char(':')) + 1)), {}},
                 {"type", kPlatforms[platform].code, {}},
                 {"name", siteText(themeName), {}},
                 {"desc", siteText(description), {}},
                 {"cmts", siteText(comment), {}},
                 {"theme", readWhole(themePath), siteText(QFileInfo(themePath).fileName())},
                 {"preview", readWhole(preview), siteText(name + QStringLiteral(".jpg"))}};
             const QByteArray body = multipartBody(boundary, parts);
             sent = 0;
             total = body.size();
             uploading =
                 m_client.post(submissionUrl(site, login, password), multipartContentType(boundary),
                               body, [this](const WebReply &r) { uploadReply(r); });
         });
}

void PublishForm::uploadReply(const WebReply &reply)
{
    if (!replyArrived(reply))
        return;
    setBusy(false);
    lastReply = fromCp1252(reply.body);
    if (lastReply == QLatin1String("ERROR|OK")) {
        info(QStringLiteral("Upload successful!"), maker());
        themeName.clear();
        description.clear();
        comment.clear();
    } else if (lastReply.contains(QLatin1String("File already exists"))) {
        critical(QStringLiteral("Upload failed! File already exists!"), maker());
    } else {
        critical(QStringLiteral("Upload failed! ") + cleanReply(lastReply), maker());
    }
    emit changed();
    emit requestFinished();
}

void PublishForm::cancel()
{
    m_client.cancel();
}

}  // namespace varno
