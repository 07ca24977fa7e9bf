// The publishing window's logic: the account (sign-up, stored login), the
// category list fetched once the window shows, and the upload of a theme
// with its Today-screen preview. Requests run in the background; the
// window re-reads the fields on changed() and closes on closeRequested().
#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "base/prompt.h"
#include "web/passwordstore.h"
#include "web/siterequests.h"
#include "web/webclient.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace varno {

// What the upload needs of the editor.
struct EditorHooks {
    // The theme name box of the main window, and setting it.
    std::function<QString()> themeName;
    std::function<void(const QString &)> setThemeName;
    // Saves the edited theme at `path` with the "16MHigh" compression;
    // false when it failed (the editor has said why).
    std::function<bool(const QString &path)> saveThemeHigh;
    // Loads the theme at `themePath` into the editor, makes `captureName`
    // the capture name and writes the transfer capture into the "pt"
    // folder; false when it failed.
    std::function<bool(const QString &themePath, const QString &captureName)> loadAndCapture;
};

// The platform options in their order, and the code the site knows each by.
struct Platform {
    const char *label;
    const char *code;
};
extern const Platform kPlatforms[7];

// Window heights in twips (15 to a pixel).
constexpr int UploadHeight = 6525;
constexpr int MembershipHeight = 8985;

class PublishForm : public QObject {
    Q_OBJECT
public:
    PublishForm(Prompt &prompt, AppSettings &settings, SettingsFile &file, const AppPaths &paths,
                EditorHooks editor, QObject *parent = nullptr);

    // The window shows: the stored login, or the notice asking for one.
    // The heights are the window's own and its login panel's.
    void activate(int initialHeight, int loginPanelHeight);
    // A repaint: the category fetch is due once a login is stored.
    void repaint();
    // The deferred fetch, once the window is on screen.
    void timerTick();
    void fetchCategories();

    void join();
    // Stores the login; the window then closes.
    void saveLogin();
    void toggleLoginInfo();
    void toggleMembership();

    void selectTheme();
    void send();
    void sendCurrentTheme();

    // Stops the running request (the upload's Cancel, the window closing).
    void cancel();
    bool requestRunning() const { return m_client.running(); }

    WebClient &client() { return m_client; }
    PasswordStore &passwords() { return m_passwords; }
    // A known boundary sequence.
    void seedBoundary(uint32_t seed) { m_boundaries = BoundaryMaker(seed); }

    SiteAddresses site;

    // What the window shows.
    QString handle, email;
    QString login, password;
    QStringList categories;
    int category = -1;  // the chosen row of `categories`
    QString themeName, description, comment;
    int platform = -1;  // index into kPlatforms
    QString themePath;
    int height = 0;
    bool timerEnabled = false;
    bool loggedIn = false;
    bool categoriesRequested = false;
    // The upload's progress while it runs (total 0: not known yet).
    bool uploading = false;
    qint64 sent = 0, total = 0;
    // The last reply of the site, as text.
    QString lastReply;

signals:
    void changed();
    void closeRequested();
    // A request ended, whatever its outcome.
    void requestFinished();

private:
    void categoryReply(const WebReply &reply);
    void processData();
    void webUploadData();
    void uploadReply(const WebReply &reply);
    void sendTheme();
    // Shows the transport failure; true when the reply is one to act on.
    bool replyArrived(const WebReply &reply);
    void setBusy(bool busy);
    void info(const QString &text, const QString &title);
    void warn(const QString &text, const QString &title);
    void critical(const QString &text, const QString &title);

    Prompt &m_prompt;
    AppSettings &m_settings;
    SettingsFile &m_file;
    AppPaths m_paths;
    EditorHooks m_editor;
    PasswordStore m_passwords;
    WebClient m_client;
    BoundaryMaker m_boundaries;
    QString m_replyText;
    QStringList m_categoryFields;
    int m_initialHeight = 0;
    int m_loginPanelHeight = 0;
    bool m_busy = false;
};

}  // namespace varno
