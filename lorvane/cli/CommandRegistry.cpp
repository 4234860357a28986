#include "cli/CommandRegistry.h"

#include <QFile>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace cli {

namespace {

std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

int usage(const char* program) {
    QTextStream err(stderr);
    err << "usage: " << program << " COMMAND [ARGS...]\n";
    for (const auto& c : commands())
        err << "  " << c.name << ' ' << c.usage << '\n';
    return 2;
}

} // namespace

bool registerCommand(const char* name, const char* usage, Handler run, bool widgets) {
    commands().push_back({name, usage, std::move(run), widgets});
    return true;
}

int runCommandLine(const char* program, int argc, char** argv,
                   const WidgetApplication& widgetApplication) {
    const Command* chosen = nullptr;
    for (const auto& c : commands()) {
        if (argc > 1 && std::strcmp(argv[1], c.name) == 0)
            chosen = &c;
    }
    std::unique_ptr<QCoreApplication> app;
    if (chosen && chosen->widgets && widgetApplication)
        app = widgetApplication(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    return chosen ? chosen->run(QCoreApplication::arguments().mid(2)) : usage(program);
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

} // namespace cli
