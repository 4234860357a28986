#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace lorvane {

namespace {

bool pathStat(const QString& path, struct stat& st) {
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// A real folder (not a link) of this user that no one else may write into; strict also
// bars others from looking inside.
bool isPrivateFolder(const QString& path, bool strict) {
    struct stat st {};
    const mode_t barred = strict ? S_IRWXG | S_IRWXO : S_IWGRP | S_IWOTH;
    return pathStat(path, st) && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & barred) == 0;
}

bool isOwnSocket(const QString& path) {
    struct stat st {};
    return pathStat(path, st) && S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
}

bool fitsSocketAddress(const QString& path) {
    return QFile::encodeName(path).size() < qsizetype(sizeof(sockaddr_un::sun_path));
}

// Makes the folder (mode 0700) unless it is there, and takes it only when it turns out
// to be the user's own: another user may have made it first in a shared folder.
QString ownFolder(const QString& path) {
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return isPrivateFolder(path, true) ? path : QString();
}

} // namespace

QString SingleInstance::defaultServerName() {
    const QString name = QLatin1Char('/') + QString::fromLatin1(PopupMessage);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime, false) && fitsSocketAddress(runtime + name))
        return runtime + name;
    // Never a fixed name in a shared folder: another user could be there first.
    const QString own = QStringLiteral("/lorvane-runtime-") + QString::number(::geteuid());
    QString folder = ownFolder(QDir::tempPath() + own);
    if (folder.isEmpty() || !fitsSocketAddress(folder + name)) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        folder = !cache.isEmpty() && QDir().mkpath(cache) ? ownFolder(cache + own) : QString();
    }
    return folder.isEmpty() || !fitsSocketAddress(folder + name) ? QString() : folder + name;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::notifyRunning(int timeoutMs) {
    // Only an instance of this user is told anything, and only it is given way to.
    if (!isOwnSocket(m_name))
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
    if (m_name.isEmpty() || (pathStat(m_name, st) && !isOwnSocket(m_name)))
        return false;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_name)) {
        // Nobody answered notifyRunning(), so a socket file still there is stale.
        if (server->serverError() != QAbstractSocket::AddressInUseError || !isOwnSocket(m_name) ||
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
