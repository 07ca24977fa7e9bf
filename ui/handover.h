// A second start of the editor hands its file to the one already running
// (as a file manager's double click does) over a local socket, and the
// running editor opens it and comes to the front.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace varno {

class HandOver : public QObject {
    Q_OBJECT
public:
    explicit HandOver(QObject *parent = nullptr);
    ~HandOver() override;

    // Starts taking hand-overs at `socket`; a socket left by a crashed
    // editor is replaced (the caller holds the single-instance lock).
    bool listen(const QString &socket);

    // Sends `file` ("" to only bring the editor forward) and waits for the
    // running editor to take it; false when no editor answered.
    static bool send(const QString &socket, const QString &file, int timeoutMs = 3000);

signals:
    void fileReceived(const QString &file);
    void raiseRequested();

private:
    void takeConnection();

    QLocalServer *m_server;
};

}  // namespace varno
