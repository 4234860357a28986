// lorvane-probe scan: one whole add-from-folder into the database of the data home.
#include "command.h"

#include "building/FileNameParsing.h"
#include "building/FileSearch.h"
#include "building/Scanner.h"
#include "platform/DataHome.h"
#include "store/ArtistStore.h"
#include "store/Associations.h"

#include <QFile>

#include <cstdio>

namespace {

// The arguments as the bytes they were given: a root that is not UTF-8 survives.
QByteArrayList rawArguments(const QStringList& args) {
    QFile cmdline(QStringLiteral("/proc/self/cmdline"));
    QByteArrayList raw;
    if (cmdline.open(QIODevice::ReadOnly))
        raw = cmdline.readAll().split('\0');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    if (raw.size() >= args.size() + 2)
        return raw.mid(raw.size() - args.size());
    QByteArrayList encoded;
    for (const QString& arg : args)
        encoded.append(QFile::encodeName(arg));
    return encoded;
}

void printLine(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

int scan(const QStringList& args) {
    const QByteArrayList raw = rawArguments(args);
    lorvane::NamePatterns patterns;
    patterns.track = patterns.bracket = patterns.custom = patterns.dash = false;
    bool recurse = true;
    bool useAssociations = false;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-recurse"))
            recurse = false;
        else if (a == QLatin1String("--use-associations"))
            useAssociations = true;
        else if (a == QLatin1String("--track"))
            patterns.track = true;
        else if (a == QLatin1String("--bracket"))
            patterns.bracket = true;
        else if (a == QLatin1String("--dash"))
            patterns.dash = true;
        else if (a == QLatin1String("--custom") && i + 1 < args.size()) {
            patterns.custom = true;
            patterns.separator = raw[++i];
        } else
            break;
    }
    if (i + 1 != args.size()) {
        std::fputs("scan: give exactly one ROOT\n", stderr);
        return 2;
    }

    lorvane::ArtistStore store(lorvane::ProgramFolder());
    store.createDbFolder();
    lorvane::FileSearch search(printLine);
    lorvane::Scanner scanner(store, search);
    lorvane::Associations associations(store.ProgramDir() + "lorvane.gen",
                                       [useAssociations] { return useAssociations; });
    const lorvane::OrganizeResult result =
        scanner.AddFromFolder(raw[i], recurse, patterns, QByteArray(), &associations);
    printLine(QStringLiteral("Lorvane"));
    std::fflush(stdout);
    if (!result.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", result.error.toUtf8().constData());
        return 1;
    }
    return 0;
}

const bool registered =
    probe::registerCommand("scan",
                           "[--no-recurse] [--use-associations] [--track] [--bracket] [--dash] "
                           "[--custom SEP] ROOT  (only the given "
                           "patterns are on; the database is the one under LORVANE_HOME)",
                           scan);

} // namespace
