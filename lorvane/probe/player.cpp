// lorvane-probe player [jump MS|prev|play|pause|stop|next]: one poll of the player as
// the strip's timer does it, or one command to the player.
#include "cli/CommandRegistry.h"

#include "platform/MprisPlayer.h"
#include "player/PlayerStatus.h"
#include "player/WAIPC.h"

#include <QTextStream>

using namespace lorvane;

namespace {

// The seek bar as designed: minimum 1, maximum 60.
constexpr int DesignedBarMinimum = 1;
constexpr int DesignedBarMaximum = 60;

int poll(WAIPC& ipc) {
    const PlayerReading r = ReadPlayer(ipc);
    const int maximum = SongBarMaximum(DesignedBarMaximum, r.length, DesignedBarMinimum);
    const QString title = r.title.isEmpty() ? QString() : PlayerTitleCaption(r.title, maximum);
    QTextStream(stdout) << FormatPlayTime(r.positionSeconds) << '\t' << title << '\t' << maximum
                        << '\n';
    return 0;
}

int run(const QStringList& args) {
    MprisPlayer bus;
    WAIPC ipc(bus);
    if (args.isEmpty())
        return poll(ipc);
    const QString& what = args.constFirst();
    if (what == QLatin1String("jump") && args.size() == 2) {
        bool ok = false;
        const int ms = args.at(1).toInt(&ok);
        if (!ok || ms < 0)
            return 2;
        ipc.WinampJumpToTime(ms);
        return 0;
    }
    if (args.size() != 1)
        return 2;
    if (what == QLatin1String("prev"))
        ipc.WinampPrevious();
    else if (what == QLatin1String("play"))
        ipc.WinampPlay();
    else if (what == QLatin1String("pause"))
        ipc.WinampPause();
    else if (what == QLatin1String("stop"))
        ipc.WinampStop();
    else if (what == QLatin1String("next"))
        ipc.WinampNext();
    else
        return 2;
    return 0;
}

const bool registered = cli::registerCommand("player", "[jump MS|prev|play|pause|stop|next]", run);

} // namespace
