// FakeMprisPlayer.h: starts and steers fake_mpris_service, a media player on the test bus.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace lorvane::test {

// A media player on the test's session bus (the fake_mpris_service program), started
// for one test and steered over its control interface.
class FakeMprisPlayer {
public:
    explicit FakeMprisPlayer(QString name, QStringList options = {});
    ~FakeMprisPlayer();
    FakeMprisPlayer(const FakeMprisPlayer&) = delete;
    FakeMprisPlayer& operator=(const FakeMprisPlayer&) = delete;

    // Starts the player and waits until its name is on the bus.
    bool start();
    // Ends the player at once, as a player that vanishes.
    void kill();
    QString service() const;

    // lengthUs < 0 leaves the length out; an empty trackId leaves the track id out.
    void setTrack(const QString& title, const QStringList& artists, const QString& url,
                  qlonglong lengthUs, const QString& trackId = QStringLiteral("/track/1"));
    void setPosition(qlonglong us);
    void setStatus(const QString& status);
    void setCanEditTracks(bool can);
    // Every later call to the player sleeps this long before it answers.
    void setHang(int ms);
    // The calls the player received, oldest first ("Play", "SetPosition /track/1 90000000",
    // "get Position", ...).
    QStringList calls();
    // Only the commands, without the property reads.
    QStringList commands();
    // The URIs of the player's track list, in its order.
    QStringList trackUris();
    void clearCalls();

private:
    void control(const QString& method, const QVariantList& args = {});
    QStringList list(const QString& method);

    QString m_name;
    QStringList m_options;
    QProcess m_process;
};

} // namespace lorvane::test
