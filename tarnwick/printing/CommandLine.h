#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the program.
enum class Command {
    Start,       // no action: the normal start
    Print,       // --print: one page of the whole screen
    PrintWindow, // --print-window: one page of the active window
    Configure,   // --configure: the configuration dialog
    Quit,        // --quit: the running program ends
    Help,        // --help: the text below, nothing else
};

// The command named by the arguments after the program name; nothing when they
// name none of the above (or more than one).
std::optional<Command> ParseCommand(const QStringList& arguments);

// Why ParseCommand found no command in the arguments: the first unknown option
// ("unknown option --bogus"), or more than one action.
QString CommandLineError(const QStringList& arguments);

// The word an action travels as between two processes, and back; Start and Help
// never travel.
QString CommandWord(Command command);
std::optional<Command> CommandFromWord(const QString& word);

// The help text, with the way to bind the Print key on the common desktops.
QString HelpText();
