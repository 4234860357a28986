#pragma once

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

} // namespace probe
