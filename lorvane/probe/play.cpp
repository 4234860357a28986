// lorvane-probe play FILE...: plays the songs as "Play Selected Songs" does, through
// Dynamic.m3u in the data home, to the followed player or else the desktop's program.
#include "cli/CommandRegistry.h"

#include "files/DataHome.h"
#include "files/FileUrl.h"
#include "platform/DesktopShell.h"
#include "platform/MprisPlayer.h"
#include "platform/ProcessRunner.h"
#include "player/Playback.h"
#include "player/WAIPC.h"
#include "store/StoreError.h"

#include <QStandardPaths>

#include <QTextStream>
#include <algorithm>

using namespace lorvane;

namespace {

// The desktop's opener without a window system: the probe runs without a GUI
// application, which the desktop services of the toolkit need.
class OpenerShell : public DesktopShell {
public:
    bool openDocument(const QByteArray& path) override {
        return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() &&
               ProcessRunner().start({"xdg-open", FileUrl(path).toEncoded()});
    }
};

int run(const QStringList& args) {
    const QByteArrayList songs = cli::rawArguments(args);
    if (songs.isEmpty())
        return 2;
    OpenerShell shell;
    MprisPlayer bus;
    WAIPC ipc(bus);
    Playback playback(shell, ProgramFolder());
    playback.setPlayer(&ipc);
    QTextStream err(stderr);
    playback.setReport([&err](const QString& text) { err << text << '\n'; });
    try {
        if (playback.PlaySongs(songs))
            return 0;
        if (!std::any_of(songs.begin(), songs.end(), &Playback::FileExists))
            err << "None of the songs exists.\n";
    } catch (const StoreError& e) {
        err << e.message() << '\n';
    }
    return 1;
}

const bool registered =
    cli::registerCommand("play", " FILE... (play the songs as a playlist)", run);

} // namespace
