#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<Command, const char*>, 5> kOptions{{
    {Command::Print, "--print"},
    {Command::PrintWindow, "--print-window"},
    {Command::Configure, "--configure"},
    {Command::Quit, "--quit"},
    {Command::Help, "--help"},
}};

} // namespace

std::optional<Command> ParseCommand(const QStringList& arguments) {
    if (arguments.isEmpty())
        return Command::Start;
    if (arguments.size() > 1)
        return std::nullopt;
    const QString& argument = arguments.first();
    if (argument == QLatin1String("-h"))
        return Command::Help;
    for (const auto& [command, option] : kOptions) {
        if (argument == QLatin1String(option))
            return command;
    }
    return std::nullopt;
}

QString CommandLineError(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument != QLatin1String("-h") &&
            std::none_of(kOptions.begin(), kOptions.end(), [&](const auto& known) {
                return argument == QLatin1String(known.second);
            }))
            return QStringLiteral("unknown option ") + argument;
    }
    return arguments.size() > 1 ? QStringLiteral("one action at a time") : QString();
}

QString CommandWord(Command command) {
    for (const auto& [known, option] : kOptions) {
        if (known == command && known != Command::Help)
            return QLatin1String(option + 2);
    }
    return {};
}

std::optional<Command> CommandFromWord(const QString& word) {
    for (const auto& [command, option] : kOptions) {
        if (command != Command::Help && word == QLatin1String(option + 2))
            return command;
    }
    return std::nullopt;
}

QString HelpText() {
    return QStringLiteral(
        "Usage: tarnwick [ACTION]\n"
        "\n"
        "Without an action Tarnwick32 starts and stays in the tray, printing one page of\n"
        "the screen at each press of Print Screen (Alt+Print Screen: the active window).\n"
        "An action is handed to the running Tarnwick32; when none runs, --print and\n"
        "--print-window print one page with the stored settings and end.\n"
        "\n"
        "  --print          print the whole screen, as Print Screen does\n"
        "  --print-window   print the active window, as Alt+Print Screen does\n"
        "  --configure      open the configuration dialog\n"
        "  --quit           end the running Tarnwick32\n"
        "  --help           show this text\n"
        "\n"
        "On a Wayland session, and wherever the desktop keeps Print Screen for its own\n"
        "screenshot tool, bind the key to the command  tarnwick --print  (and Alt+Print\n"
        "to  tarnwick --print-window) in the desktop's keyboard settings:\n"
        "  GNOME  Settings > Keyboard > View and Customize Shortcuts > Custom Shortcuts:\n"
        "         add one with the command, then take Print away from its\n"
        "         entry under Screenshots.\n"
        "  KDE    System Settings > Shortcuts > Add New > Command or Script; free Print\n"
        "         from Spectacle first.\n"
        "  Xfce   Settings > Keyboard > Application Shortcuts > Add: the command, then\n"
        "         press Print (replace the entry for xfce4-screenshooter).\n"
        "\n"
        "Exit status: 0 when the action was done (for a print: the page went to the\n"
        "printer), 1 when nothing was printed (the reason goes to standard error), 2 for\n"
        "an unknown option.\n");
}
