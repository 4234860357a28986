#include "command.h"

#include <QCoreApplication>
#include <QFile>
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

QByteArrayList rawArguments(const QStringList& args) {
    QFile cmdline(QStringLiteral("/proc/self/cmdline"));
    QByteArrayList raw;
    if (cmdline.open(QIODevice::ReadOnly))
        raw = cmdline.readAll().split('\0');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    // argv: program, subcommand, its arguments.
    if (raw.size() >= args.size() + 2)
        return raw.mid(raw.size() - args.size());
    QByteArrayList encoded;
    for (const QString& arg : args)
        encoded.append(QFile::encodeName(arg));
    return encoded;
}

} // namespace probe

static int usage() {
    QTextStream err(stderr);
    err << "usage: lorvane-probe COMMAND [ARGS...]\n";
    for (const auto& c : probe::commands())
        err << "  " << c.name << ' ' << c.usage << '\n';
    return 2;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    for (const auto& c : probe::commands()) {
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1));
    }
    return usage();
}
