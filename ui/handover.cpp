#include "ui/handover.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace varno {

namespace {

// A path is sent as one UTF-8 line; anything longer is not a path.
constexpr qint64 MaxMessage = 64 * 1024;

}  // namespace

HandOver::HandOver(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &HandOver::takeConnection);
}

HandOver::~HandOver() = default;

bool HandOver::listen(const QString &socket)
{
    QLocalServer::removeServer(socket);
    return m_server->listen(socket);
}

void HandOver::takeConnection()
{
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, client, [this, client] {
            if (!client->canReadLine()) {
                if (client->bytesAvailable() > MaxMessage)
                    client->abort();
                return;
            }
            const QString file = QString::fromUtf8(client->readLine(MaxMessage)).chopped(1);
            client->write("ok\n");
            client->flush();
            client->disconnectFromServer();
            if (file.isEmpty())
                emit raiseRequested();
            else
                emit fileReceived(file);
        });
    }
}

bool HandOver::send(const QString &socket, const QString &file, int timeoutMs)
{
    QLocalSocket s;
    s.connectToServer(socket);
    if (!s.waitForConnected(timeoutMs))
        return false;
    s.write(file.toUtf8() + '\n');
    if (!s.waitForBytesWritten(timeoutMs))
        return false;
    while (!s.canReadLine())
        if (!s.waitForReadyRead(timeoutMs))
            return false;
    return s.readLine() == "ok\n";
}

}  // namespace varno
