#include "platform/SingleInstance.h"

#include "common/PrivateFolders.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>

namespace lorvane {

QString SingleInstance::defaultServerName() {
    // Never a fixed name in a shared folder: another user could be there first.
    const QString name = QLatin1Char('/') + QString::fromLatin1(PopupMessage);
    const QString folder =
        PrivateRuntimeFolder(QStringLiteral("lorvane"), QFile::encodeName(name).size());
    return folder.isEmpty() ? QString() : folder + name;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::notifyRunning(int timeoutMs) {
    // Only an instance of this user is told anything, and only it is given way to.
    if (!IsOwnSocket(m_name))
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QByteArray(PopupMessage) + '\n');
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

bool SingleInstance::listen() {
    if (m_server)
        return true;
    // The server would put its socket in place of whatever is there: never in place of
    // something of another user's.
    struct stat st {};
    if (m_name.isEmpty() ||
        (::lstat(QFile::encodeName(m_name).constData(), &st) == 0 && !IsOwnSocket(m_name)))
        return false;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_name)) {
        // Nobody answered notifyRunning(), so a socket file still there is stale.
        if (server->serverError() != QAbstractSocket::AddressInUseError || !IsOwnSocket(m_name) ||
            !QLocalServer::removeServer(m_name) || !server->listen(m_name)) {
            delete server;
            return false;
        }
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::takeConnection);
    return true;
}

void SingleInstance::takeConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine().trimmed() == PopupMessage)
                    emit popupRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The caller may have written and gone before this connection was taken.
        readLines();
        if (socket->state() == QLocalSocket::UnconnectedState)
            socket->deleteLater();
    }
}

} // namespace lorvane
