#include "InstanceChannel.h"

#include "InstanceFolder.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

// What a peer has sent of its current line; dropping: the line grew too long and is
// skipped up to its end.
struct InstanceChannel::PeerLine {
    QByteArray text;
    bool dropping = false;
};

namespace {

constexpr int kWaitMs = 2000;
// A peer has this long to say its line; a later start says it at once.
constexpr int kPeerMs = 5000;
constexpr int kWatchMs = 1000;

// The whole lines the peer has sent so far, without their ends.
QStringList takeLines(QLocalSocket& socket, InstanceChannel::PeerLine& line) {
    QStringList words;
    while (socket.bytesAvailable() > 0) {
        const QByteArray piece = socket.read(InstanceChannel::kLongestLine + 1);
        qsizetype from = 0;
        while (from < piece.size()) {
            const qsizetype end = piece.indexOf('\n', from);
            const qsizetype stop = end < 0 ? piece.size() : end;
            if (!line.dropping)
                line.text += piece.mid(from, stop - from);
            if (line.text.size() > InstanceChannel::kLongestLine) {
                line.text.clear();
                line.dropping = true;
            }
            if (end < 0)
                break;
            if (!line.dropping)
                words.append(QString::fromUtf8(line.text).trimmed());
            line = InstanceChannel::PeerLine();
            from = end + 1;
        }
    }
    return words;
}

} // namespace

InstanceChannel::InstanceChannel(const QString& name, QObject* parent)
    : QObject(parent), m_path(InstanceFilePath(name, QStringLiteral(".socket"))),
      m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &InstanceChannel::keepListening);
}

bool InstanceChannel::listen() {
    m_watch.start();
    if (m_path.isEmpty())
        return false;
    if (m_server->isListening())
        return true;
    QLocalServer::removeServer(m_path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    return m_server->listen(m_path);
}

bool InstanceChannel::isListening() const {
    return m_server->isListening();
}

void InstanceChannel::keepListening() {
    // The server closes itself for good when it cannot take a connection.
    if (!m_server->isListening())
        listen();
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (m_peers >= kMostPeers) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_peers;
        connect(socket, &QObject::destroyed, this, [this] { --m_peers; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto line = std::make_shared<PeerLine>();
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, line] { read(socket, *line); });
        QTimer::singleShot(kPeerMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        // The peer may have written and gone before this connection was taken.
        read(socket, *line);
        if (socket->state() == QLocalSocket::UnconnectedState)
            socket->deleteLater();
    }
}

void InstanceChannel::read(QLocalSocket* socket, PeerLine& line) {
    // Acted on after this handler has returned: the action may run an event loop in
    // which this socket goes away.
    for (const QString& word : takeLines(*socket, line))
        QMetaObject::invokeMethod(
            this, [this, word] { emit actionReceived(word); }, Qt::QueuedConnection);
}

bool InstanceChannel::send(const QString& word, const QString& name) {
    const QString path = InstanceFilePath(name, QStringLiteral(".socket"));
    // Only an instance of this user is told anything.
    if (!IsOwnSocket(path))
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
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
