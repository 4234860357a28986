#include "InstanceChannel.h"

#include "InstanceLock.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kWaitMs = 2000;
constexpr qint64 kLongestLine = 64;

} // namespace

InstanceChannel::InstanceChannel(const QString& name, QObject* parent)
    : QObject(parent), m_path(InstanceFilePath(name, QStringLiteral(".socket"))),
      m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

bool InstanceChannel::listen() {
    QLocalServer::removeServer(m_path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    return m_server->listen(m_path);
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString word = QString::fromUtf8(socket->readLine(kLongestLine)).trimmed();
                emit actionReceived(word);
            }
            // A peer that sends no line end gets no say.
            if (socket->bytesAvailable() > kLongestLine)
                socket->abort();
        });
    }
}

bool InstanceChannel::send(const QString& word, const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(InstanceFilePath(name, QStringLiteral(".socket")));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(word.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
    return true;
}
