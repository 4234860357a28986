// lorvane-probe scan: one whole add-from-folder into the database of the data home.
#include "cli/CommandRegistry.h"
#include "patterns.h"

#include "building/FileNameParsing.h"
#include "files/DataHome.h"
#include "store/ArtistStore.h"
#include "store/Associations.h"
#include "store/Scanner.h"

#include <cstdio>

namespace {

void printLine(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

int scan(const QStringList& args) {
    const QByteArrayList raw = cli::rawArguments(args);
    lorvane::NamePatterns patterns = probe::noPatterns();
    bool recurse = true;
    bool useAssociations = false;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-recurse"))
            recurse = false;
        else if (a == QLatin1String("--use-associations"))
            useAssociations = true;
        else if (!probe::takePatternSwitch(args, raw, i, patterns))
            break;
    }
    if (i + 1 != args.size()) {
        std::fputs("scan: give exactly one ROOT\n", stderr);
        return 2;
    }

    lorvane::ArtistStore store(lorvane::ProgramFolder());
    store.setWaitingSink(printLine);
    store.createDbFolder();
    lorvane::Scanner scanner(store, printLine);
    lorvane::Associations associations(store.ProgramDir() + "lorvane.gen",
                                       [useAssociations] { return useAssociations; });
    const lorvane::OrganizeResult result =
        scanner.AddFromFolder(raw[i], recurse, patterns, QByteArray(), &associations);
    printLine(QStringLiteral("Lorvane"));
    std::fflush(stdout);
    if (!result.error.isEmpty()) {
        // A run cut short says only why: callers read the reason from stderr.
        std::fprintf(stderr, "%s\n", result.error.toUtf8().constData());
        return 1;
    }
    std::fprintf(stderr, "%s\n", lorvane::ScanSummary(result).toUtf8().constData());
    return 0;
}

const bool registered =
    cli::registerCommand("scan",
                         "[--no-recurse] [--use-associations] [--track] [--bracket] [--dash] "
                         "[--custom SEP] ROOT  (only the given "
                         "patterns are on; the database is the one under LORVANE_HOME)",
                         scan);

} // namespace
