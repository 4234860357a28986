#include "InstanceChannel.h"

#include "InstanceFolder.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <QPointer>

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
    if (m_path.isEmpty())
        return false;
    m_watch.start();
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
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        deadline->start(kPeerMs);
        auto line = std::make_shared<PeerLine>();
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, line] { read(socket, *line); });
        // The peer may have written and gone before this connection was taken.
        read(socket, *line);
        if (socket->state() == QLocalSocket::UnconnectedState)
            socket->deleteLater();
    }
}

void InstanceChannel::read(QLocalSocket* socket, PeerLine& line) {
    const QStringList words = takeLines(*socket, line);
    if (words.isEmpty())
        return;
    // The peer now waits for the action's answer, for as long as the action takes.
    if (auto* deadline = socket->findChild<QTimer*>())
        deadline->stop();
    // Acted on after this handler has returned: the action may run an event loop in
    // which this socket goes away.
    const QPointer<QLocalSocket> peer(socket);
    for (const QString& word : words) {
        QMetaObject::invokeMethod(
            this, [this, peer, word] { deliver(peer, word); }, Qt::QueuedConnection);
    }
}

void InstanceChannel::deliver(const QPointer<QLocalSocket>& peer, const QString& word) {
    auto answered = std::make_shared<bool>(false);
    const Reply reply = [peer, answered](int status, const QString& text) {
        if (*answered)
            return;
        *answered = true;
        if (!peer || peer->state() != QLocalSocket::ConnectedState)
            return;
        QString line = text;
        line.replace(u'\n', u' ');
        peer->write(QByteArray::number(status) + ' ' + line.toUtf8() + '\n');
        peer->flush();
        peer->disconnectFromServer();
    };
    // Deliveries nest when an action runs an event loop: each restores the one it
    // interrupted.
    bool taken = false;
    const Delivery outer = m_delivery;
    m_delivery = {&reply, &taken};
    emit actionReceived(word);
    m_delivery = outer;
    if (!taken)
        reply(0, QString());
}

InstanceChannel::Reply InstanceChannel::currentReply() {
    if (!m_delivery.reply)
        return [](int, const QString&) {};
    *m_delivery.taken = true;
    return *m_delivery.reply;
}

std::optional<InstanceChannel::Answer> InstanceChannel::send(const QString& word,
                                                             const QString& name) {
    const QString path = InstanceFilePath(name, QStringLiteral(".socket"));
    // Only an instance of this user is told anything.
    if (!IsOwnSocket(path))
        return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kWaitMs))
        return std::nullopt;
    socket.write(word.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kWaitMs))
        return std::nullopt;
    // The answer comes when the action is done, which may wait on the user.
    while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForReadyRead(-1);
    Answer answer;
    if (socket.canReadLine()) {
        const QString line = QString::fromUtf8(socket.readLine(kLongestLine)).trimmed();
        answer.status = line.section(u' ', 0, 0).toInt();
        answer.text = line.section(u' ', 1);
    }
    return answer;
}
