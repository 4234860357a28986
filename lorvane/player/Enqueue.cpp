#include "player/Enqueue.h"

#include "files/FileUrl.h"
#include "player/CommandRunner.h"
#include "player/Playback.h"
#include "player/Shell.h"
#include "player/WAIPC.h"

#include <QProcess>

namespace lorvane {

std::vector<QByteArray> EnqueueCommandLine(const QString& commandTemplate,
                                           const QByteArray& songPath) {
    std::vector<QByteArray> argv;
    bool substituted = false;
    for (const QString& word : QProcess::splitCommand(commandTemplate)) {
        QByteArray arg = word.toUtf8();
        if (arg.contains("%1")) {
            arg.replace("%1", songPath);
            substituted = true;
        }
        argv.push_back(arg);
    }
    if (argv.empty())
        return {};
    if (!substituted)
        argv.push_back(songPath);
    return argv;
}

EnqueueRoute EnqueueSongs(WAIPC& ipc, CommandRunner& runner, const QString& commandTemplate,
                          const QList<QByteArray>& songPaths) {
    if (ipc.WinampCanEnqueue()) {
        QStringList uris;
        for (const QByteArray& path : songPaths) {
            if (Playback::NamesASong(path))
                uris.append(QString::fromLatin1(FileUrl(path).toEncoded()));
        }
        ipc.WinampEnqueue(uris);
        return EnqueueRoute::TrackList;
    }
    if (commandTemplate.trimmed().isEmpty())
        return EnqueueRoute::Nothing;
    for (const QByteArray& path : songPaths) {
        if (!Playback::NamesASong(path))
            continue;
        const auto argv = EnqueueCommandLine(commandTemplate, path);
        if (!argv.empty())
            runner.start(argv);
    }
    return EnqueueRoute::Command;
}

QString CannotEnqueueText(const QString& playerName) {
    return QStringLiteral("%1 cannot take songs into its list").arg(playerName);
}

} // namespace lorvane
