#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

// The running instance's door for actions given on the command line: a local socket
// per user beside the instance lock. A later start hands its action over as one line
// of text and waits for the answer, a line with the status and what went wrong; the
// running instance receives it as actionReceived() and answers when it is done.
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

    // The running instance's answer to an action: 0 when it was done, else a status
    // and what went wrong.
    struct Answer {
        int status = 0;
        QString text;
    };
    // Answers the peer that sent an action, once; the connection ends with it.
    using Reply = std::function<void(int status, const QString& text)>;

    // Hands one action word to the running instance and waits until the action is done;
    // nothing when no instance of this user answers.
    static std::optional<Answer> send(const QString& word,
                                      const QString& name = QStringLiteral("Tarnwick32"));

    // Within a handler of actionReceived, before it lets any event run: the way to answer
    // the peer later. An action whose handler does not take it is answered 0 at once.
    Reply currentReply();

    struct PeerLine;

signals:
    void actionReceived(const QString& word);

private:
    void accept();
    void read(QLocalSocket* socket, PeerLine& line);
    void deliver(const QPointer<QLocalSocket>& peer, const QString& word);

    struct Delivery {
        const Reply* reply = nullptr;
        bool* taken = nullptr;
    };
    void keepListening();

    QString m_path;
    QLocalServer* m_server;
    QTimer m_watch;
    int m_peers = 0;
    Delivery m_delivery;
};
