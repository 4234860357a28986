#include "command.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace bench {

static std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

bool registerCommand(const char* name, const char* usage, Handler run, bool widgets) {
    commands().push_back({name, usage, std::move(run), widgets});
    return true;
}

} // namespace bench

static int usage() {
    QTextStream err(stderr);
    err << "usage: lorvane-bench COMMAND [ARGS...]\n";
    for (const auto& c : bench::commands())
        err << "  " << c.name << ' ' << c.usage << '\n';
    return 2;
}

int main(int argc, char* argv[]) {
    const bench::Command* chosen = nullptr;
    for (const auto& c : bench::commands()) {
        if (argc > 1 && std::strcmp(argv[1], c.name) == 0)
            chosen = &c;
    }
    if (chosen && chosen->widgets) {
        // Widgets are timed without a screen unless a platform is named.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return chosen->run(app.arguments().mid(2));
    }
    QCoreApplication app(argc, argv);
    return chosen ? chosen->run(app.arguments().mid(2)) : usage();
}
