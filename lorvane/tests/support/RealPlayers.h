// RealPlayers.h: RealPlayers, a private session bus with the desktop's real media players
// (mpv, VLC) on it, for the tests of the player remote.
#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace lorvane::test {

// A session bus of its own that root and the user nobody may both use (VLC refuses to
// run as root, so under root it runs as nobody), silent sound files a minute long, and
// the players started on it. Everything it started is stopped by its own process id.
class RealPlayers {
public:
    RealPlayers();
    ~RealPlayers();
    RealPlayers(const RealPlayers&) = delete;
    RealPlayers& operator=(const RealPlayers&) = delete;

    // Empty when the bus runs; otherwise what is missing, for the skip message.
    QString problem() const { return m_problem; }
    QDBusConnection bus() const;
    QString address() const { return m_address; }
    // A silent WAV file of a minute in the folder, made on first use.
    QByteArray sound(const QByteArray& name);
    QByteArray folder() const { return m_folder; }

    // Start the player with a file and wait for its bus name; the problem when it
    // cannot run here.
    QString startMpv(const QByteArray& file);
    QString startVlc(const QByteArray& file);

private:
    QString startPlayer(const QString& program, const QStringList& args, const QString& busName,
                        bool asNobody);

    QTemporaryDir m_dir;
    QByteArray m_folder;
    QString m_address;
    QString m_connectionName;
    QString m_problem;
    QProcess m_daemon;
    std::vector<std::unique_ptr<QProcess>> m_players;
};

} // namespace lorvane::test
