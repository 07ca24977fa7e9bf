// The theme site's HTTP client: one request at a time, answered through a
// callback so the window stays responsive. Every failure arrives as text
// for "WebForm Error: ": a stalled request ends after a time limit, a reply
// larger than the limit is cut off, and certificate errors are never
// ignored.
#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace varno {

struct WebReply {
    bool ok = false;
    // The user (or the window closing) stopped it; nothing to tell.
    bool cancelled = false;
    QByteArray body;
    // Why it failed, in the words shown after "WebForm Error: ".
    QString error;
};

// What a stalled request says when it gives up.
extern const char *const kTimeoutText;

class WebClient : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const WebReply &)>;

    explicit WebClient(QObject *parent = nullptr);
    ~WebClient() override;

    // Certificates trusted besides the system's (a site of one's own).
    void addTrustedCertificates(const QList<QSslCertificate> &certificates);
    // Milliseconds without any progress before a request gives up.
    void setStallLimit(int milliseconds) { m_stallLimit = milliseconds; }
    // Largest reply body kept, in bytes; a larger one fails.
    void setReplyLimit(qint64 bytes) { m_replyLimit = bytes; }

    // Start a request; `done` runs once, from the event loop. False (and
    // nothing started) while another request runs.
    bool get(const QUrl &url, Done done);
    bool post(const QUrl &url, const QByteArray &contentType, const QByteArray &body, Done done);
    // Stops the running request; its callback gets `cancelled`.
    void cancel();
    bool running() const { return m_reply != nullptr; }

signals:
    void uploadProgress(qint64 sent, qint64 total);

private:
    bool start(QNetworkReply *reply, Done done);
    void readSome(QNetworkReply *reply);
    void finish();
    QNetworkRequest request(const QUrl &url) const;

    QNetworkAccessManager *m_network;
    QTimer *m_stall;
    QNetworkReply *m_reply = nullptr;
    Done m_done;
    QByteArray m_body;
    QList<QSslCertificate> m_trusted;
    int m_stallLimit = 30000;
    qint64 m_replyLimit = 1 << 20;
    enum class Stop { None, Stalled, TooLarge, Cancelled } m_stop = Stop::None;
};

}  // namespace varno
