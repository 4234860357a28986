// lorvane-probe enqueue FILE...: adds the songs to the followed player as "Add Song(s)"
// does: into its track list, else through the "enqueuecommand" setting.
#include "cli/CommandRegistry.h"

#include "platform/MprisPlayer.h"
#include "platform/ProcessRunner.h"
#include "platform/SettingsStoreIni.h"
#include "player/Enqueue.h"
#include "player/WAIPC.h"
#include "store/Settings.h"

#include <QTextStream>

using namespace lorvane;

namespace {

int run(const QStringList& args) {
    const QByteArrayList songs = cli::rawArguments(args);
    if (songs.isEmpty())
        return 2;
    MprisPlayer bus;
    WAIPC ipc(bus);
    QTextStream err(stderr);
    if (ipc.FindWinamp().isEmpty()) {
        err << "No player is running.\n";
        return 1;
    }
    SettingsStoreIni settings;
    ProcessRunner runner;
    if (EnqueueSongs(ipc, runner, ReadEnqueueCommand(settings), songs) == EnqueueRoute::Nothing) {
        err << CannotEnqueueText(ipc.PlayerCaptionName()) << '\n';
        return 1;
    }
    return 0;
}

const bool registered =
    cli::registerCommand("enqueue", " FILE... (add the songs to the running player's list)", run);

} // namespace
