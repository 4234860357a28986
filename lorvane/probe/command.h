#pragma once

#include <QByteArrayList>
#include <QStringList>

#include <functional>

// Subcommands of lorvane-probe register themselves here, one source file each,
// so new subcommands never touch the dispatcher.
namespace probe {

using Handler = std::function<int(const QStringList& args)>;

struct Command {
    const char* name;
    const char* usage;
    Handler run;
};

// Registers a subcommand; returns true so it can initialise a file-level constant.
bool registerCommand(const char* name, const char* usage, Handler run);

// A subcommand's arguments as the bytes they were given, read from the command line
// itself: a path that is not valid UTF-8 would not survive a trip through QString.
// Falls back to the encoded arguments where /proc is missing.
QByteArrayList rawArguments(const QStringList& args);

} // namespace probe
