#pragma once

#include "player/MediaPlayerBus.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QHash>

#include <map>
#include <memory>

class DBusPropertiesProxy;
class MprisPlayerProxy;
class MprisTrackListProxy;
class QDBusError;

namespace lorvane {

// Media players over the remote-control standard on the D-Bus session bus. Every
// call waits at most a short time; a player that lets a call run out is left alone
// for a while, so a hung player costs one wait, not one per call.
class MprisPlayer : public MediaPlayerBus {
public:
    static constexpr int DefaultTimeoutMs = 100;
    static constexpr int SilentPauseMs = 2000;

    explicit MprisPlayer(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                         int timeoutMs = DefaultTimeoutMs);
    ~MprisPlayer() override;

    QStringList playerNames() override;
    QString playbackStatus(const QString& player) override;
    std::optional<qint64> position(const QString& player) override;
    QVariantMap metadata(const QString& player) override;
    QString identity(const QString& player) override;
    bool setPosition(const QString& player, const QString& trackId, qint64 positionUs) override;
    bool seek(const QString& player, qint64 offsetUs) override;
    bool transport(const QString& player, Transport command) override;
    bool canEditTracks(const QString& player) override;
    std::optional<QStringList> tracks(const QString& player) override;
    bool addTrack(const QString& player, const QString& uri, const QString& afterTrack) override;
    void noteAddedTracks(const QString& player) override;
    QString firstAddedTrack(const QString& player) override;
    bool openUri(const QString& player, const QString& uri) override;

private:
    struct Proxies;
    Proxies* proxiesFor(const QString& player);
    std::optional<QVariant> property(const QString& player, const QString& interface,
                                     const QString& name);
    bool answered(const QString& player, const QDBusError& error);

    QDBusConnection m_bus;
    int m_timeoutMs;
    std::map<QString, std::unique_ptr<Proxies>> m_proxies;
    QHash<QString, QDeadlineTimer> m_silent;
    class AddedTracks;
    std::unique_ptr<AddedTracks> m_added;
};

} // namespace lorvane
