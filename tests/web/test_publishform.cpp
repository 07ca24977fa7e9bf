// The publishing window's logic against a real local site: what it sends,
// byte for byte, and what it tells the user for each reply.
#include "support/scriptedprompt.h"
#include "testsite.h"
#include "web/publishform.h"

#include <QEventLoop>
#include <QRegularExpression>

using namespace varno;
using namespace varno::test;

namespace {

const Identity &siteIdentity()
{
    static const Identity identity = makeIdentity();
    return identity;
}

class PublishFormTest : public ::testing::Test {
protected:
    PublishFormTest()
    {
        // No secret service here, as on a build machine: the settings file
        // keeps the password.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DISPLAY");
        settings.themesFolder = box.file("tsk/");
        QDir().mkpath(settings.themesFolder);
        QDir().mkpath(paths.folder("pt"));
        form.site = {QUrl(plain.url()), QUrl(secure.url())};
        form.client().addTrustedCertificates({siteIdentity().certificate});
        form.client().setStallLimit(300);
    }

    // Runs the event loop until the request started ends.
    void waitForReply()
    {
        QEventLoop loop;
        QObject::connect(&form, &PublishForm::requestFinished, &loop, &QEventLoop::quit);
        if (form.requestRunning())
            loop.exec();
    }

    // A theme chosen, with its categories, ready to send.
    void readyToSend()
    {
        writeFile(settings.themesFolder + "Blue Sky.tsk", "MSCF theme bytes");
        form.themePath = settings.themesFolder + "Blue Sky.tsk";
        secure.answer("CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES");
        form.fetchCategories();
        waitForReply();
        form.category = 1;
        form.platform = 4;
        form.themeName = "Blue Sky";
        form.description = "Clouds";
        form.login = "me";
        form.password = "pw";
        prompt.clear();
    }

    Sandbox box;
    AppPaths paths = AppPaths::forEditor();
    SettingsFile file{paths.settingsFile};
    AppSettings settings;
    ScriptedPrompt prompt;
    TestSite plain, secure{siteIdentity()};
    QStringList captured;  // what the editor was asked to capture
    QString editorName;
    EditorHooks hooks{[this] { return editorName; }, [this](const QString &n) { editorName = n; },
                      [](const QString &path) {
                          writeFile(path, "saved theme");
                          return true;
                      },
                      [this](const QString &theme, const QString &name) {
                          captured << theme;
                          writeFile(paths.folder("pt") + "/" + name + ".jpg", "JPEG");
                          return true;
                      }};
    PublishForm form{prompt, settings, file, paths, hooks};
};

}  // namespace

TEST_F(PublishFormTest, SignUpSendsTheEncodedQueryAndAnswersEachReply)
{
    const auto warning = [](const char *text) {
        return std::vector{okBox(text, "Velmora", MsgIcon::Exclamation)};
    };
    const struct {
        QString handle, email;
        QByteArray reply;  // empty: the site is never asked
        std::vector<RecordedMessage> messages;
    } cases[] = {
        {"tom", "  ", "", warning("Please enter your email address in the Login text box!")},
        {"", "t@x.org", "", warning("Please enter your handle in the handle text box!")},
        {" tom&jerry=1 ",
         " t@x.org ",
         "ERROR|OK",
         {okBox("An email has been sent to the address provided.\r\nFollow the instructions in "
                "the email to finish the process.",
                "Velmora", MsgIcon::Information)}},
        {"tom", "t@x.org", "ERROR|EMAIL_AREADY_EXISTS",
         warning("This email address already exists! Please try another one.")},
        {"tom", "t@x.org", "ERROR|HANDLE_AREADY_EXISTS",
         warning("This handle already exists! Please try another one.")},
        {"tom", "t@x.org", "ERROR|FAIL", warning("Unknown error!  Please try again later.")},
        {"tom", "t@x.org", "<html>maintenance</html>", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        prompt.clear();
        if (!c.reply.isEmpty())
            plain.answer(c.reply);
        form.handle = c.handle;
        form.email = c.email;
        form.join();
        waitForReply();
        EXPECT_EQ(prompt.messages(), c.messages);
        EXPECT_FALSE(prompt.isBusy());
    }
    ASSERT_EQ(plain.requests().size(), 5u);
    EXPECT_EQ(plain.requests()[0].target, "/dvsignup.aspx?handle=tom%26jerry%3D1&email=t%40x.org");
}

// A site that never answers is the upload's case below.
TEST_F(PublishFormTest, CategoryRepliesFillTheListOrSayWhatIsWrong)
{
    const struct {
        QByteArray reply;
        QStringList categories;
        std::vector<RecordedMessage> messages;
    } cases[] = {
        {"CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES|Later:9", {"Games", "Nature"}, {}},
        {"CATEGORIES|END_0F_CATEGORIES", {}, {okBox("Category data corrupted!")}},
        // Without a list in the reply the list stays as it was.
        {"Error: user is not_Registered",
         {},
         {okBox("Check Your Password or Login!  Make sure you are registered as an Author with "
                "Glintory.\r\nIf you still have this problem contact Glintory Admin.\r\nOr try "
                "again later.")}},
        {"CATEGORIES|Games:3|Nature|Sport:4|END_0F_CATEGORIES",
         {"Games"},
         {okBox("Invalid procedure call or argument\r\r(Error #5)",
                "Error in frmTransferBatch: Sub ProcessData")}},
    };
    form.login = "me";
    form.password = "p&w";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        secure.answer(c.reply);
        prompt.clear();
        form.fetchCategories();
        waitForReply();
        EXPECT_EQ(form.categories, c.categories);
        EXPECT_EQ(prompt.messages(), c.messages);
        EXPECT_FALSE(prompt.isBusy());
    }
    EXPECT_EQ(secure.requests().back().target, "/dvsubmit.asp?op=cat&un=me&pwd=p%26w");
}

TEST_F(PublishFormTest, SavedLoginGoesToAnOwnerOnlySettingsFileAndTheUserIsToldOnce)
{
    form.activate(6000, 1500);
    EXPECT_FALSE(form.timerEnabled);
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox("No login and/or password set.  Please enter Orbelle login and "
                                 "password and click save.",
                                 "NOTICE", MsgIcon::Information)}));
    prompt.clear();
    int closed = 0;
    QObject::connect(&form, &PublishForm::closeRequested, [&] { ++closed; });
    form.login = " me ";
    form.password = " secret ";
    form.saveLogin();
    form.saveLogin();
    const RecordedMessage closing =
        okBox("This screen will close now.  Re open to login", "Velmora", MsgIcon::Information);
    EXPECT_EQ(prompt.messages(),
              (std::vector{okBox("No secret service is running, so the password is kept in the "
                                 "settings file " +
                                     paths.settingsFile + ", which only you can read.",
                                 "Velmora", MsgIcon::Information),
                           closing, closing}));
    EXPECT_EQ(closed, 2);
    // Later writes of other settings keep the file private: nothing for the
    // group or the others.
    file.writeString(settingsSectionName(), "TodayText", "all");
    EXPECT_EQ(QFile::permissions(paths.settingsFile) & 0x00ff, 0);
    // Opened again, the window has the login and fetches the categories.
    SettingsFile reread(paths.settingsFile);
    settings.siteUser = reread.readString(settingsSectionName(), "GLNTUSER");
    PublishForm again(prompt, settings, reread, paths, hooks);
    again.activate(6000, 1500);
    EXPECT_TRUE(again.timerEnabled);
    EXPECT_EQ(QStringList({again.login, again.password}), QStringList({"me", "secret"}));
}

// Each reply to a whole form, and each missing input, which stops before
// anything is captured or sent.
TEST_F(PublishFormTest, UploadSendsTheFormByteForByteAndAnswersEachReply)
{
    const QByteArray boundary = BoundaryMaker(7).next();
    EXPECT_TRUE(QRegularExpression("^-{27}[0-9a-f]{16}$").match(QString(boundary)).hasMatch());
    const QByteArray part = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"";
    const QByteArray expected =
        part + "cat\"\r\n\r\n7\r\n" + part + "type\"\r\n\r\n11\r\n" + part +
        "name\"\r\n\r\nBlue Sky\r\n" + part + "desc\"\r\n\r\nClouds\r\n" + part +
        "cmts\"\r\n\r\n\r\n" + part +
        "theme\"; filename=\"Blue Sky.tsk\"\r\nContent-Type: application/octet-steam\r\n\r\n"
        "MSCF theme bytes\r\n" +
        part +
        "preview\"; filename=\"Blue Sky.jpg\"\r\nContent-Type: application/octet-steam\r\n\r\n"
        "JPEG\r\n--" +
        boundary + "--\r\n";
    const auto error = [](const char *text) {
        return okBox(text, "Velmora - Error", MsgIcon::Exclamation);
    };
    const struct {
        std::optional<QByteArray> reply;  // "": the site never answers; nothing: not sent
        RecordedMessage message;
        std::function<void()> spoil = [] {};
    } cases[] = {
        {"ERROR|OK", okBox("Upload successful!", "Velmora", MsgIcon::Information)},
        {"ERROR|File already exists on server",
         okBox("Upload failed! File already exists!", "Velmora")},
        {"<font face=\"Arial\" size=2>Bad category</font><p>",
         okBox("Upload failed!  Bad category  ", "Velmora")},
        {"", okBox("WebForm Error: " + QString(kTimeoutText))},
        {std::nullopt, okBox("Please Enter a Description!", "Velmora", MsgIcon::Exclamation),
         [&] { form.description = " "; }},
        {std::nullopt, error("Please select a Theme to send!"), [&] { form.themePath.clear(); }},
        {std::nullopt, error("Please select a catagory!"), [&] { form.category = -1; }},
        {std::nullopt, error("Please select Platform!"), [&] { form.platform = -1; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.text.toStdString());
        readyToSend();
        c.spoil();
        writeFile(paths.folder("pt") + "/stale.jpg", "old");
        captured.clear();
        const size_t before = secure.requests().size();
        if (c.reply)
            c.reply->isEmpty() ? secure.answer(SiteAnswer::Silent) : secure.answer(*c.reply);
        form.seedBoundary(7);
        form.send();
        waitForReply();
        EXPECT_EQ(prompt.messages(), std::vector{c.message});
        EXPECT_FALSE(prompt.isBusy());
        // Only success empties the texts.
        EXPECT_EQ(form.themeName.isEmpty(), c.reply == "ERROR|OK");
        ASSERT_EQ(secure.requests().size(), before + (c.reply ? 1 : 0));
        EXPECT_EQ(QFile::exists(paths.folder("pt") + "/stale.jpg"), !c.reply);
        EXPECT_EQ(captured.size(), c.reply ? 1 : 0);
        if (!c.reply)
            continue;
        EXPECT_EQ(secure.requests().back().target, "/dvsubmit.asp?op=sub&un=me&pwd=pw");
        EXPECT_EQ(secure.requests().back().contentType,
                  "multipart/form-data; boundary=" + boundary);
        EXPECT_EQ(secure.requests().back().body, expected);
    }
}

TEST_F(PublishFormTest, SendCurrentThemeNamesSavesAndSendsTheEditedTheme)
{
    readyToSend();
    form.themeName.clear();
    form.sendCurrentTheme();
    EXPECT_EQ(prompt.messages(), (std::vector{okBox("Enter Theme Name First!", "Need a File Name",
                                                    MsgIcon::Exclamation)}));
    prompt.clear();
    editorName = "Sunset";
    secure.answer("ERROR|OK");
    form.sendCurrentTheme();
    waitForReply();
    EXPECT_EQ(captured, QStringList{settings.themesFolder + "Sunset.tsk"});
    EXPECT_EQ(readFile(settings.themesFolder + "Sunset.tsk"), "saved theme");
    EXPECT_TRUE(secure.requests().back().body.contains("name=\"name\"\r\n\r\nSunset\r\n"));
}
