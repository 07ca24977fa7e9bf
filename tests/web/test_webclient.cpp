// The client against a real local site: what each kind of failure ends as.
#include "support/sandbox.h"
#include "testsite.h"
#include "web/webclient.h"

#include <QEventLoop>

using namespace varno;
using namespace varno::test;

namespace {

WebReply fetch(WebClient &client, const QString &url)
{
    QEventLoop loop;
    WebReply got;
    EXPECT_TRUE(client.get(QUrl(url), [&](const WebReply &r) {
        got = r;
        loop.quit();
    }));
    loop.exec();
    return got;
}

}  // namespace

TEST(WebClient, EachFailureEndsWithItsOwnText)
{
    const Identity trusted = makeIdentity(), stranger = makeIdentity();
    struct Case {
        const char *name;
        std::optional<Identity> tls;
        std::optional<SiteAnswer::Kind> kind;  // nothing: a plain reply
        QString error;                         // "" when it succeeds
    } cases[] = {
        {"plain reply", std::nullopt, std::nullopt, ""},
        {"reply over trusted TLS", trusted, std::nullopt, ""},
        {"silent site", std::nullopt, SiteAnswer::Silent, kTimeoutText},
        {"closed mid-reply", std::nullopt, SiteAnswer::CloseMidReply, "Connection closed"},
        {"endless reply", std::nullopt, SiteAnswer::Endless,
         "The reply is larger than 1048576 bytes."},
        {"untrusted certificate", stranger, std::nullopt,
         "SSL handshake failed: The certificate is self-signed, and untrusted"},
        {"nothing listening", std::nullopt, std::nullopt, "Connection refused"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestSite site(c.tls);
        c.kind ? site.answer(*c.kind) : site.answer("CATEGORIES|Games:3");
        const QString url = site.url() + "/x";
        if (c.error == "Connection refused")
            site.close();
        WebClient client;
        client.addTrustedCertificates({trusted.certificate});
        client.setStallLimit(300);
        const WebReply r = fetch(client, url);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.ok, c.error.isEmpty());
        EXPECT_EQ(r.body, r.ok ? QByteArray("CATEGORIES|Games:3") : QByteArray());
    }
}
