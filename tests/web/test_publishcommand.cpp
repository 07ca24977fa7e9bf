// "varno publish" against a real local site: a theme built by the program
// itself goes up with its preview; the window's checks and messages come
// out as lines.
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
        const size_t before = secure.requests().size();
        secure.answer("CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES");
        secure.answer("ERROR|OK");
        const Outcome r = publish(upload + QStringList{"--desc", c.description}, secure);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err, c.err);
        ASSERT_EQ(secure.requests().size() - before, c.requests);
    }
    const QByteArray body = secure.requests().at(1).body;  // the first case's upload
    EXPECT_TRUE(body.contains("name=\"cat\"\r\n\r\n7\r\n"));
    EXPECT_TRUE(body.contains("name=\"type\"\r\n\r\n11\r\n"));
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.tsk\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n" +
                              readFile(theme) + "\r\n"));
    // The Today screen as a JPEG.
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.jpg\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n\xFF\xD8"));
}
