#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The running instance's door for actions given on the command line: a local socket
// per user beside the instance lock. A later start hands its action over as one line
// of text and ends; the running instance receives it as actionReceived().
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(const QString& name = QStringLiteral("Tarnwick32"),
                             QObject* parent = nullptr);

    // Opens the door; only the holder of the instance lock may, since a socket left by
    // a crashed instance is removed first. False when the socket cannot be made.
    bool listen();

    // Hands one action word to the running instance; false when none answers.
    static bool send(const QString& word, const QString& name = QStringLiteral("Tarnwick32"));

signals:
    void actionReceived(const QString& word);

private:
    void accept();

    QString m_path;
    QLocalServer* m_server;
};
