#pragma once

#include <QString>

namespace lorvane {

class MediaPlayerBus;

// The player remote: every call looks the player up again, so a player that was
// started, switched or closed in between is simply found or not found. Without a
// player every query answers 0 or an empty title and commands go nowhere.
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

    // The player's bus name: the first one on the bus, a playing one first; empty
    // when no player runs.
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

    // Whether the player takes tracks into its list over the bus.
    bool WinampCanEnqueue();
    bool WinampEnqueue(const QString& uri);

private:
    MediaPlayerBus& m_bus;
};

} // namespace lorvane
