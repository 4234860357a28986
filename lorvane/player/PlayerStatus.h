// PlayerStatus.h: what one poll of the media player gives the player strip.
#pragma once

#include <QString>

namespace lorvane {

class WAIPC;

// What one poll of the player gives the "Winamp:" strip.
struct PlayerReading {
    int positionSeconds = 0; // whole seconds of the play position
    int length = 0;          // track length in seconds, below 1 when nothing is loaded
    QString title;           // the player's title line, empty without a player
};

// Chooses the player, then asks it in the strip's order: position, length, title.
PlayerReading ReadPlayer(WAIPC& ipc);

// m:ss, seconds always two digits.
QString FormatPlayTime(int seconds);
// The title line as the strip shows it: "<title> <m:ss>" with the bar's maximum.
QString PlayerTitleCaption(const QString& title, int lengthSeconds);
// The seek bar's maximum after a poll: a length below the bar's minimum is ignored.
int SongBarMaximum(int current, int length, int minimum);
// A volume position 0 ... 65535 in percent as the labels show it (65535 shows 100).
int VolumePercent(int position);

} // namespace lorvane
