#include "web/webclient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTimer>

namespace varno {

const char *const kTimeoutText = "Operation interrupted (or timeout). (20302)";

WebClient::WebClient(QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_stall(new QTimer(this))
{
    m_stall->setSingleShot(true);
    connect(m_stall, &QTimer::timeout, this, [this] {
        if (!m_reply)
            return;
        m_stop = Stop::Stalled;
        m_reply->abort();
    });
}

WebClient::~WebClient()
{
    // A reply still running must not call back into an owner being destroyed.
    m_done = nullptr;
    if (m_reply)
        m_reply->abort();
}

void WebClient::addTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    m_trusted += certificates;
}

QNetworkRequest WebClient::request(const QUrl &url) const
{
    QNetworkRequest r(url);
    // The site speaks plain HTTP/1.x and is never cached or redirected to
    // a less safe address.
    r.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                   QNetworkRequest::NoLessSafeRedirectPolicy);
    if (!m_trusted.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(m_trusted);
        r.setSslConfiguration(tls);
    }
    return r;
}

bool WebClient::get(const QUrl &url, Done done)
{
    if (m_reply)
        return false;
    return start(m_network->get(request(url)), std::move(done));
}

bool WebClient::post(const QUrl &url, const QByteArray &contentType, const QByteArray &body,
                     Done done)
{
    if (m_reply)
        return false;
    QNetworkRequest r = request(url);
    r.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    return start(m_network->post(r, body), std::move(done));
}

bool WebClient::start(QNetworkReply *reply, Done done)
{
    m_reply = reply;
    m_done = std::move(done);
    m_body.clear();
    m_stop = Stop::None;
    // Any sign of life restarts the stall limit; only silence ends a request.
    const auto alive = [this] { m_stall->start(m_stallLimit); };
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, alive] {
        alive();
        readSome(reply);
    });
    connect(reply, &QNetworkReply::uploadProgress, this, [this, alive](qint64 sent, qint64 total) {
        alive();
        emit uploadProgress(sent, total);
    });
    connect(reply, &QNetworkReply::downloadProgress, this, alive);
    connect(reply, &QNetworkReply::finished, this, &WebClient::finish);
    alive();
    return true;
}

void WebClient::readSome(QNetworkReply *reply)
{
    if (m_stop != Stop::None)
        return;
    // Checked before reading, so a hostile reply never grows the buffer
    // past the limit.
    if (reply->bytesAvailable() > m_replyLimit - m_body.size()) {
        m_stop = Stop::TooLarge;
        reply->abort();
        return;
    }
    m_body += reply->readAll();
}

void WebClient::cancel()
{
    if (!m_reply)
        return;
    m_stop = Stop::Cancelled;
    m_reply->abort();
}

void WebClient::finish()
{
    m_stall->stop();
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    reply->deleteLater();
    if (m_stop == Stop::None && reply->error() == QNetworkReply::NoError)
        readSome(reply);
    WebReply r;
    switch (m_stop) {
    case Stop::Stalled: r.error = QString::fromLatin1(kTimeoutText); break;
    case Stop::TooLarge:
        r.error = QStringLiteral("The reply is larger than %1 bytes.").arg(m_replyLimit);
        break;
    case Stop::Cancelled: r.cancelled = true; break;
    case Stop::None:
        if (reply->error() != QNetworkReply::NoError)
            r.error = reply->errorString();
        else
            r.ok = true;
        break;
    }
    if (r.ok)
        r.body = std::exchange(m_body, QByteArray());
    m_body.clear();
    if (Done done = std::exchange(m_done, nullptr))
        done(r);
}

}  // namespace varno
