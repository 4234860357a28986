#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QLocalServer;
class QLocalSocket;

// The running instance's door for actions given on the command line: a local socket
// per user beside the instance lock. A later start hands its action over as one line
// of text and ends; the running instance receives it as actionReceived().
// The action is announced once the socket's handler has returned (queued), since what
// it sets off may process events for a long time, and the peer may go meanwhile.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // A line longer than this is nobody's command: it is dropped whole.
    static constexpr qint64 kLongestLine = 4096;
    // Peers served at one time; more are turned away at once, so that a crowd of idle
    // connections cannot use up the program's files.
    static constexpr int kMostPeers = 32;

    explicit InstanceChannel(const QString& name = QStringLiteral("Tarnwick32"),
                             QObject* parent = nullptr);

    // Opens the door; only the holder of the instance lock may, since a socket left by
    // a crashed instance is removed first. False when the socket cannot be made; the
    // door is tried again as long as this object lives, and again whenever the server
    // stops listening (out of files in a burst of connections).
    bool listen();
    bool isListening() const;

    // Hands one action word to the running instance; false when none of this user
    // answers.
    static bool send(const QString& word, const QString& name = QStringLiteral("Tarnwick32"));

    struct PeerLine;

signals:
    void actionReceived(const QString& word);

private:
    void accept();
    void read(QLocalSocket* socket, PeerLine& line);
    void keepListening();

    QString m_path;
    QLocalServer* m_server;
    QTimer m_watch;
    int m_peers = 0;
};
