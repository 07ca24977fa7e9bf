// "varno publish" against a real local site: a theme built by the program
// itself goes up with its preview; the window's checks and messages come
// out as lines.
#include "cli/commandargs.h"
#include "cli/commands.h"
#include "cli/publishcommand.h"
#include "support/sandbox.h"
#include "testsite.h"

using namespace varno;
using namespace varno::test;

namespace {

struct Outcome {
    int code;
    QString out, err;
};

class PublishCommandTest : public ::testing::Test {
protected:
    PublishCommandTest()
    {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        writeFile(box.file("ca.pem"), identity.certificate.toPem());
        writeFile(box.file("password"), "p&w\nignored\n");
    }

    Outcome publish(QStringList args, const TestSite &site)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        args = QStringList{"publish"} + args +
               QStringList{"--site", site.url(), "--ca-file", box.file("ca.pem")};
        const int code = publishCommand(args, o, e);
        return {code, out, err};
    }

    QStringList login() const { return {"--login", "me", "--password-file", box.file("password")}; }

    Sandbox box;
    Identity identity = makeIdentity();
    TestSite secure{identity};
};

}  // namespace

TEST_F(PublishCommandTest, ListsTheCategoriesWithTheGivenLogin)
{
    secure.answer("CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES");
    const Outcome r = publish(QStringList{"categories"} + login(), secure);
    EXPECT_EQ(r.code, Exit::Ok) << r.err.toStdString();
    EXPECT_EQ(r.out, "Games\nNature\n");
    EXPECT_EQ(secure.requests().at(0).target, "/dvsubmit.asp?op=cat&un=me&pwd=p%26w");
}

TEST_F(PublishCommandTest, SignUpSaysTheSitesAnswer)
{
    TestSite plain;
    plain.answer("ERROR|HANDLE_AREADY_EXISTS");
    const Outcome r = publish({"signup", "--handle", "tom", "--email", "t@x.org"}, plain);
    EXPECT_EQ(r.code, Exit::BadInput);
    EXPECT_EQ(r.err, "varno: This handle already exists! Please try another one.\n");
}

TEST_F(PublishCommandTest, UploadsABuiltThemeWithItsPreview)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const QString theme = box.file("Blue Sky.tsk");
    ASSERT_EQ(runCommand({"build", "-o", theme, "--profile", "qvga"}, o, e), Exit::Ok)
        << err.toStdString();
    const QStringList upload =
        QStringList{"upload", theme,    "--category", "Nature",    "--platform", "qvga",
                    "--wm5",  "--name", "Blue Sky",   "--comment", "first"} +
        login();
    const struct {
        const char *description;
        int code;
        QString err;
        size_t requests;  // the category fetch, then the upload when sent
    } cases[] = {
        {"Clouds", Exit::Ok, "varno: Upload successful!\n", 2},
        {"  ", Exit::BadInput, "varno: Please Enter a Description!\n", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.description);
        TestSite site(identity);
        site.answer("CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES");
        site.answer("ERROR|OK");
        const Outcome r = publish(upload + QStringList{"--desc", c.description}, site);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err, c.err);
        ASSERT_EQ(site.requests().size(), c.requests);
    }
    TestSite site(identity);
    site.answer("CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES");
    site.answer("ERROR|OK");
    ASSERT_EQ(publish(upload + QStringList{"--desc", "Clouds"}, site).code, Exit::Ok);
    const QByteArray body = site.requests().at(1).body;
    EXPECT_TRUE(body.contains("name=\"cat\"\r\n\r\n7\r\n"));
    EXPECT_TRUE(body.contains("name=\"type\"\r\n\r\n11\r\n"));
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.tsk\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n" +
                              readFile(theme) + "\r\n"));
    // The Today screen as a JPEG.
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.jpg\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n\xFF\xD8"));
}

TEST_F(PublishCommandTest, UsageFaultsAreSaidBeforeAnyRequest)
{
    const QString wm5 = "the standard platform has no WM5 variant";
    for (const auto &[args, text] :
         {std::pair{QStringList{"upload", "x.tsk", "--platform", "std", "--wm5"} + login(), wm5},
          {QStringList{"upload", "x.tsk", "--platform", "hvga"} + login(),
           "--platform is one of std, qvga, vga, sq240"},
          {QStringList{"publish"}, "give categories, signup or upload"},
          {QStringList{"categories", "--login", "me"}, "--login and --password-file go together"},
          {QStringList{"categories"}, "no saved login: give --login and --password-file"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        try {
            publish(args, secure);
            ADD_FAILURE() << "no usage error";
        } catch (const UsageError &e) {
            EXPECT_EQ(e.text, text);
        }
    }
    EXPECT_TRUE(secure.requests().empty());
}
