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

    // "Popup Lorvane" in the user's runtime folder ($XDG_RUNTIME_DIR) when it is the
    // user's own, else in a folder of the user's (mode 0700) made in the temporary or
    // cache folder, so users never meet each other. Empty when there is no such folder:
    // then this start neither reaches nor becomes a running instance.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance of this user to show itself; true when one took the
    // message. A socket of another user is never connected to.
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
