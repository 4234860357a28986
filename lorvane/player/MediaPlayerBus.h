#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace lorvane {

// The desktop's media players as remote-control peers. Every call names the player
// (its bus name) and answers "nothing" when that player is gone or does not answer
// in time, so a caller never has to tell a vanished player from a silent one.
class MediaPlayerBus {
public:
    enum class Transport { Previous, Play, PlayPause, Stop, Next };

    virtual ~MediaPlayerBus() = default;

    // The players on the bus now, by bus name in a stable order.
    virtual QStringList playerNames() = 0;
    // "Playing", "Paused", "Stopped", or empty when unknown.
    virtual QString playbackStatus(const QString& player) = 0;
    // Position in the current track in microseconds.
    virtual std::optional<qint64> position(const QString& player) = 0;
    // The current track's metadata (keys such as "xesam:title", "mpris:length").
    virtual QVariantMap metadata(const QString& player) = 0;
    virtual QString identity(const QString& player) = 0;

    virtual bool setPosition(const QString& player, const QString& trackId, qint64 positionUs) = 0;
    virtual bool seek(const QString& player, qint64 offsetUs) = 0;
    virtual bool transport(const QString& player, Transport command) = 0;

    virtual bool canEditTracks(const QString& player) = 0;
    // The ids of the player's track list, in its order; nothing when it has none.
    virtual std::optional<QStringList> tracks(const QString&) { return std::nullopt; }
    // Inserts the track after the one named, without making it current. NoTrack puts it
    // at the start of the list, as the standard says, not at its end.
    virtual bool addTrack(const QString& player, const QString& uri, const QString& afterTrack) = 0;
    // Starts noting the tracks the player announces as added (TrackAdded);
    // firstAddedTrack is then the id of the first one announced since. Announcements
    // arrive between events, not during a call.
    virtual void noteAddedTracks(const QString&) {}
    virtual QString firstAddedTrack(const QString&) { return {}; }
    // Has the player open and play a document (a playlist); false when it did not take it.
    virtual bool openUri(const QString&, const QString&) { return false; }

    static inline const QString NoTrack =
        QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
};

} // namespace lorvane
