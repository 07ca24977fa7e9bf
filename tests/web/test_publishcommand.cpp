// "varno publish" against a real local site: the categories for a login,
// then a theme built by the program itself going up with its preview; the
// window's checks and messages come out as lines.
#include "cli/commands.h"
#include "cli/publishcommand.h"
#include "support/sandbox.h"
#include "testsite.h"

using namespace varno;
using namespace varno::test;

TEST(PublishCommand, ListsTheCategoriesAndUploadsABuiltThemeWithItsPreview)
{
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    Sandbox box;
    const Identity identity = makeIdentity();
    TestSite secure{identity};
    writeFile(box.file("ca.pem"), identity.certificate.toPem());
    writeFile(box.file("password"), "p&w\nignored\n");
    QString out, err;
    const auto command = [&](const QStringList &args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return runCommand(args, o, e);
    };
    const auto run = [&](const QStringList &args) {
        return command(args + QStringList{"--site", secure.url(), "--ca-file", box.file("ca.pem"),
                                          "--login", "me", "--password-file",
                                          box.file("password")});
    };
    const QByteArray categories = "CATEGORIES|Games:3|Nature:7|END_0F_CATEGORIES";
    secure.answer(categories);
    EXPECT_EQ(run({"publish", "categories"}), Exit::Ok) << err.toStdString();
    EXPECT_EQ(out, "Games\nNature\n");
    EXPECT_EQ(secure.requests().at(0).target, "/dvsubmit.asp?op=cat&un=me&pwd=p%26w");

    const QString theme = box.file("Blue Sky.tsk");
    ASSERT_EQ(command({"build", "-o", theme, "--profile", "qvga"}), Exit::Ok) << err.toStdString();
    const QStringList upload = {"publish", "upload", theme,    "--category", "Nature", "--platform",
                                "qvga",    "--wm5",  "--name", "Blue Sky",   "--desc"};
    secure.answer(categories);
    EXPECT_EQ(run(upload + QStringList{"  "}), Exit::BadInput);
    EXPECT_EQ(err, "varno: Please Enter a Description!\n");
    ASSERT_EQ(secure.requests().size(), 2u);  // nothing sent after the categories
    secure.answer(categories);
    secure.answer("ERROR|OK");
    EXPECT_EQ(run(upload + QStringList{"Clouds"}), Exit::Ok);
    EXPECT_EQ(err, "varno: Upload successful!\n");
    const QByteArray body = secure.requests().at(3).body;
    EXPECT_TRUE(body.contains("name=\"cat\"\r\n\r\n7\r\n"));
    EXPECT_TRUE(body.contains("name=\"type\"\r\n\r\n11\r\n"));
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.tsk\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n" +
                              readFile(theme) + "\r\n"));
    // The Today screen as a JPEG.
    EXPECT_TRUE(body.contains("filename=\"Blue Sky.jpg\"\r\nContent-Type: "
                              "application/octet-steam\r\n\r\n\xFF\xD8"));
}
