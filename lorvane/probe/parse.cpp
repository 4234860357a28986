// lorvane-probe parse: artist and title of file names, as the song list shows them.
#include "cli/CommandRegistry.h"
#include "patterns.h"

#include "building/FileNameParsing.h"

#include <cstdio>

namespace {

int parse(const QStringList& args) {
    const QByteArrayList raw = cli::rawArguments(args);
    lorvane::NamePatterns patterns = probe::noPatterns();
    qsizetype i = 0;
    while (i < args.size() && probe::takePatternSwitch(args, raw, i, patterns))
        ++i;
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

const bool registered = cli::registerCommand(
    "parse",
    "[--track] [--bracket] [--dash] [--custom SEP] PATH...  (only the given patterns are on)",
    parse);

} // namespace
