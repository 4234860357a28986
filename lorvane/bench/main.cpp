#include "command.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace bench {

static std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

bool registerCommand(const char* name, const char* usage, Handler run) {
    commands().push_back({name, usage, std::move(run)});
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
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    for (const auto& c : bench::commands()) {
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1));
    }
    return usage();
}
