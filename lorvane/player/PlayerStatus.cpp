#include "player/PlayerStatus.h"

#include "player/WAIPC.h"

namespace lorvane {

PlayerReading ReadPlayer(WAIPC& ipc) {
    PlayerReading r;
    ipc.FindWinamp();
    r.positionSeconds = ipc.WinampGetOutputTime(0) / 1000;
    r.length = ipc.WinampGetOutputTime(1);
    r.title = ipc.WinampGetTitle();
    return r;
}

QString FormatPlayTime(int seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString PlayerTitleCaption(const QString& title, int lengthSeconds) {
    return title + QStringLiteral(" <") + FormatPlayTime(lengthSeconds) + QLatin1Char('>');
}

int SongBarMaximum(int current, int length, int minimum) {
    return length < minimum ? current : length;
}

int VolumePercent(int position) {
    return position / 655;
}

} // namespace lorvane
