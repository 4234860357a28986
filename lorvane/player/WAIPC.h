#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

namespace lorvane {

class MediaPlayerBus;

// The player remote. FindWinamp chooses the player the strip follows; the queries and
// commands act on the one it chose last (the one the strip shows), so a button never
// reaches another player than the strip names. Without a player every query answers 0
// or an empty title and commands go nowhere.
class WAIPC {
public:
    // The player's five transport buttons.
    enum Command {
        PreviousButton = 40044,
        PlayButton = 40045,
        PauseButton = 40046,
        StopButton = 40047,
        NextButton = 40048,
    };

    explicit WAIPC(MediaPlayerBus& bus);

    // Chooses the player anew and returns its bus name, empty when none runs: the one
    // lorvane last handed songs (or a transport command) to while it stays on the bus,
    // else one that is playing, else the one chosen before, else the first by name.
    QString FindWinamp();
    // Mode 0: position in the current track in milliseconds; mode 1: its length in
    // seconds; other modes and no player: 0.
    int WinampGetOutputTime(int mode);
    void WinampJumpToTime(int ms);
    int WinampCommand(int id);
    void WinampPrevious();
    void WinampPlay();
    void WinampPause();
    void WinampStop();
    void WinampNext();
    // "Artist - Title", else the title, else the file name of the track, else the
    // player's name; empty without a player.
    QString WinampGetTitle();

    // The player's own name (its Identity), empty without a player.
    QString WinampName();
    // What texts that name the player call it: its name, or "Player" when none runs.
    QString PlayerCaptionName() {
        const QString name = WinampName();
        return name.isEmpty() ? QStringLiteral("Player") : name;
    }

    // Whether the player, chosen anew, takes tracks into its list over the bus.
    bool WinampCanEnqueue();
    // Appends the URIs, in order, at the end of the player's track list; the player
    // becomes the one songs were last handed to.
    bool WinampEnqueue(const QStringList& uris);
    // Hands a playlist to the player, chosen anew, to play; false when none runs or it
    // does not take it.
    bool WinampOpen(const QString& uri);
    // The desktop was asked to open songs: the player that turns up on the bus within
    // a while is the one they went to.
    void ExpectNewPlayer();

    static constexpr int NewPlayerWaitMs = 30000;

private:
    QString shown();

    MediaPlayerBus& m_bus;
    QString m_shown;
    bool m_found = false;
    QString m_handedTo;
    QString m_enqueuedTo;
    QStringList m_tracksAtEnqueue;
    QString m_namedPlayer;
    QString m_name;
    bool m_expectingPlayer = false;
    QStringList m_namesBeforeOpen;
    QDeadlineTimer m_newPlayerWait;
};

} // namespace lorvane
