#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace lorvane {

class CommandRunner;
class WAIPC;

enum class EnqueueRoute { Nothing, TrackList, Command };

// The program and arguments of the enqueue command for one song: the template is
// split into words as a shell would quote them (no shell runs it), and "%1" in any
// word becomes the song's path, so the path stays one argument whatever it holds.
// A template without "%1" gets the path as its last argument.
std::vector<QByteArray> EnqueueCommandLine(const QString& commandTemplate,
                                           const QByteArray& songPath);

// Adds the songs to the running player: at the end of its track list when it can edit
// it, else by running the command template once per song, else not at all (Nothing:
// the caller says so with CannotEnqueueText). Songs are not checked for existence; a
// song that could not be resolved ("" or "null") is passed over.
EnqueueRoute EnqueueSongs(WAIPC& ipc, CommandRunner& runner, const QString& commandTemplate,
                          const QList<QByteArray>& songPaths);

// The status line when the player takes no songs: "<its name> cannot take songs into
// its list", with the name as WAIPC::PlayerCaptionName gives it.
QString CannotEnqueueText(const QString& playerName);

} // namespace lorvane
