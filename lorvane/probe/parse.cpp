// lorvane-probe parse: artist and title of file names, as the song list shows them.
#include "command.h"

#include "building/FileNameParsing.h"

#include <QFile>

#include <cstdio>

namespace {

// The arguments as the bytes they were given: a path that is not UTF-8 survives.
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

int parse(const QStringList& args) {
    const QByteArrayList raw = rawArguments(args);
    lorvane::NamePatterns patterns;
    patterns.track = patterns.bracket = patterns.custom = patterns.dash = false;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--track"))
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
    if (i >= args.size()) {
        std::fputs("parse: no PATH given\n", stderr);
        return 2;
    }
    for (; i < args.size(); ++i) {
        const QByteArray line = lorvane::ParseArtist(raw[i], patterns) + '\t' +
                                lorvane::ParseSongTitle(raw[i], patterns) + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    return 0;
}

const bool registered = probe::registerCommand(
    "parse",
    "[--track] [--bracket] [--dash] [--custom SEP] PATH...  (only the given patterns are on)",
    parse);

} // namespace
