#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace lorvane {

// One running program per user. The first start listens on a local socket named after
// the message "Popup Lorvane"; a later start connects, sends that message and ends, and
// the first one answers by showing its window.
// notifyRunning() is true only when a running instance took the message; listen()
// makes this one the instance later starts reach, through popupRequested.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr char PopupMessage[] = "Popup Lorvane";

    // "Popup Lorvane" in the user's runtime folder ($XDG_RUNTIME_DIR), else in the
    // temporary folder with the user's id appended, so users never meet each other.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance to show itself; true when one took the message.
    bool notifyRunning(int timeoutMs = 1000);

    // Becomes the running instance. A socket left behind by a crashed instance (nobody
    // answers on it) is removed first. False only when the socket cannot be made.
    bool listen();

    QString serverName() const { return m_name; }

signals:
    void popupRequested();

private:
    void takeConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace lorvane
