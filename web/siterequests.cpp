#include "web/siterequests.h"

#include "base/codepage.h"

#include <cmath>

namespace varno {

namespace {

const QString SignupSiteValue = QStringLiteral("GlintorySignupSite");
const QString SubmitSiteValue = QStringLiteral("GlintorySubmitSite");

// `base` + `path` + the query, each value percent-encoded: a "&" typed in
// a handle stays in the handle.
QUrl withQuery(const QUrl &base, const QString &path,
               const std::vector<std::pair<QString, QString>> &items)
{
    QUrl url = base;
    QString prefix = base.path();
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    url.setPath(prefix + path);
    QByteArray query;
    for (const auto &[name, value] : items)
        query += (query.isEmpty() ? "" : "&") + name.toLatin1() + '=' +
                 siteText(value).toPercentEncoding();
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

}  // namespace

SiteAddresses readSiteAddresses(SettingsFile &file, const QString &key)
{
    return {QUrl(file.readStringOrStore(key, SignupSiteValue,
                                        QStringLiteral("http://www.glintory.com"))),
            QUrl(file.readStringOrStore(key, SubmitSiteValue,
                                        QStringLiteral("https://www.glintory.com")))};
}

QUrl signupUrl(const SiteAddresses &site, const QString &handle, const QString &email)
{
    return withQuery(site.signup, QStringLiteral("/dvsignup.aspx"),
                     {{QStringLiteral("handle"), handle}, {QStringLiteral("email"), email}});
}

QUrl categoriesUrl(const SiteAddresses &site, const QString &login, const QString &password)
{
    return withQuery(site.submit, QStringLiteral("/dvsubmit.asp"),
                     {{QStringLiteral("op"), QStringLiteral("cat")},
                      {QStringLiteral("un"), login},
                      {QStringLiteral("pwd"), password}});
}

QUrl submissionUrl(const SiteAddresses &site, const QString &login, const QString &password)
{
    return withQuery(site.submit, QStringLiteral("/dvsubmit.asp"),
                     {{QStringLiteral("op"), QStringLiteral("sub")},
                      {QStringLiteral("un"), login},
                      {QStringLiteral("pwd"), password}});
}

QByteArray BoundaryMaker::next()
{
    QByteArray boundary(27, '-');
    for (int i = 0; i < 16; ++i) {
        // 32 bits of the generator as a number from 0 to 1, the same on
        // every standard library.
        const double random = double(m_random()) / 4294967296.0;
        boundary += QByteArray::number(int(std::lround(random * 15)), 16);
    }
    return boundary;
}

QByteArray multipartBody(const QByteArray &boundary, const std::vector<FormPart> &parts)
{
    QByteArray body;
    for (const FormPart &part : parts) {
        body += "--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + part.name + '"';
        if (part.fileName.isEmpty())
            body += "\r\n\r\n";
        else
            // "octet-steam" is what the site has always been sent.
            body += "; filename=\"" + part.fileName +
                    "\"\r\nContent-Type: application/octet-steam\r\n\r\n";
        body += part.content + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

QByteArray multipartContentType(const QByteArray &boundary)
{
    return "multipart/form-data; boundary=" + boundary;
}

QString cleanReply(QString reply)
{
    for (const char *tag : {"<font face=\"Arial\" size=2>", "</font>", "<p>"})
        reply.replace(QLatin1String(tag), QLatin1String(" "));
    return reply;
}

QString baseName(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? path : path.left(dot);
    const qsizetype slash =
        std::max(stem.lastIndexOf(QLatin1Char('/')), stem.lastIndexOf(QLatin1Char('\\')));
    return stem.mid(slash + 1);
}

QByteArray siteText(const QString &text)
{
    return toCp1252(text).value_or(text.toUtf8());
}

}  // namespace varno
