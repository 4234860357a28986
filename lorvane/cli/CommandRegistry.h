// CommandRegistry.h: the subcommands of lorvane-probe and lorvane-bench.
#pragma once

#include <QByteArrayList>
#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>

// Each subcommand is one source file that registers itself at file level, so a new
// subcommand never touches a dispatcher.
namespace cli {

using Handler = std::function<int(const QStringList& args)>;

struct Command {
    const char* name;
    const char* usage;
    Handler run;
    bool widgets = false; // runs under a widget application
};

// Registers a subcommand; returns true so it can initialise a file-level constant.
bool registerCommand(const char* name, const char* usage, Handler run, bool widgets = false);

// Makes the application a widget subcommand runs under; a tool without widgets gives none.
using WidgetApplication = std::function<std::unique_ptr<QCoreApplication>(int& argc, char** argv)>;

// Runs the subcommand argv[1] with the arguments after it; prints the usage of every
// subcommand and returns 2 when there is none or it is unknown.
int runCommandLine(const char* program, int argc, char** argv,
                   const WidgetApplication& widgetApplication = {});

// A subcommand's arguments as the bytes they were given, read from the command line
// itself: a path that is not valid UTF-8 would not survive a trip through QString.
// Falls back to the encoded arguments where /proc is missing.
QByteArrayList rawArguments(const QStringList& args);

} // namespace cli
