#include "command.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace probe {

static std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

bool registerCommand(const char* name, const char* usage, Handler run) {
    commands().push_back({name, usage, std::move(run)});
    return true;
}

} // namespace probe

static int usage() {
    QTextStream err(stderr);
    err << "usage: tarnwick-probe COMMAND [ARGS...]\n";
    for (const auto& c : probe::commands())
        err << "  " << c.name << ' ' << c.usage << '\n';
    return 2;
}

int main(int argc, char* argv[]) {
    // The probe works without a desktop: with no display it runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    for (const auto& c : probe::commands()) {
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1));
    }
    return usage();
}
