// A real web site on a local port, plain or TLS, for the publishing tests:
// it records each request whole and answers from a script. The TLS
// certificates are made here by openssl, each its own self-signed
// authority for 127.0.0.1.
#pragma once

#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace varno::test {

struct Identity {
    QSslCertificate certificate;
    QSslKey key;
};

// A fresh self-signed certificate for 127.0.0.1.
inline Identity makeIdentity()
{
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                   "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                   dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
    EXPECT_TRUE(openssl.waitForFinished(60000) && openssl.exitCode() == 0)
        << openssl.readAllStandardError().toStdString();
    QFile key(dir.filePath("key.pem")), cert(dir.filePath("cert.pem"));
    key.open(QIODevice::ReadOnly);
    cert.open(QIODevice::ReadOnly);
    return {QSslCertificate(&cert), QSslKey(&key, QSsl::Rsa)};
}

struct SiteRequest {
    QByteArray target, contentType, body;
};

struct SiteAnswer {
    enum Kind { Reply, Silent, CloseMidReply, Endless } kind = Reply;
    QByteArray body;
};

class TestSite : public QTcpServer {
public:
    // Plain HTTP without an identity.
    explicit TestSite(std::optional<Identity> tls = std::nullopt) : m_tls(std::move(tls))
    {
        EXPECT_TRUE(listen(QHostAddress::LocalHost));
    }

    QString url() const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? "https" : "http").arg(serverPort());
    }
    void answer(const QByteArray &body) { m_script.push_back({SiteAnswer::Reply, body}); }
    void answer(SiteAnswer::Kind kind) { m_script.push_back({kind, {}}); }
    const std::vector<SiteRequest> &requests() const { return m_requests; }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(handle);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QSslSocket::readyRead, socket,
                [this, socket, buffer] { take(socket, *buffer += socket->readAll()); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        if (m_tls) {
            socket->setLocalCertificate(m_tls->certificate);
            socket->setPrivateKey(m_tls->key);
            socket->startServerEncryption();
        }
    }

private:
    // Answers once the request is whole.
    void take(QSslSocket *socket, const QByteArray &data)
    {
        const qsizetype headEnd = data.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QList<QByteArray> lines = data.left(headEnd).split('\n');
        SiteRequest r{lines[0].split(' ').value(1), {}, {}};
        qsizetype length = 0;
        for (const QByteArray &line : lines) {
            const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
            const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
            length = name == "content-length" ? value.toLongLong() : length;
            r.contentType = name == "content-type" ? value : r.contentType;
        }
        if (data.size() < headEnd + 4 + length)
            return;
        r.body = data.mid(headEnd + 4, length);
        m_requests.push_back(r);
        const SiteAnswer a = m_script.empty() ? SiteAnswer{} : m_script.front();
        if (!m_script.empty())
            m_script.pop_front();
        const auto head = [](qint64 length) {
            return QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: ") +
                   QByteArray::number(length) + "\r\n\r\n";
        };
        switch (a.kind) {
        case SiteAnswer::Reply: socket->write(head(a.body.size()) + a.body); break;
        case SiteAnswer::Silent: return;
        case SiteAnswer::CloseMidReply: socket->write(head(100) + "CATEGORIES|Gam"); break;
        case SiteAnswer::Endless:
            // Keeps writing while the client reads, until it hangs up.
            socket->write(head(1 << 30));
            connect(socket, &QSslSocket::bytesWritten, socket, [socket] {
                if (socket->bytesToWrite() < (1 << 16))
                    socket->write(QByteArray(1 << 16, 'x'));
            });
            socket->write(QByteArray(1 << 16, 'x'));
            return;
        }
        socket->disconnectFromHost();
    }

    std::optional<Identity> m_tls;
    std::deque<SiteAnswer> m_script;
    std::vector<SiteRequest> m_requests;
};

}  // namespace varno::test
