// lorvane-probe preview: how a scan of ROOT would read the file names, without
// touching the database.
#include "cli/CommandRegistry.h"
#include "patterns.h"

#include "building/NamePreview.h"

#include <cstdio>

namespace {

void writeLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

int preview(const QStringList& args) {
    const QByteArrayList raw = cli::rawArguments(args);
    lorvane::NamePatterns patterns = probe::noPatterns();
    bool recurse = true;
    int limit = lorvane::PreviewLimit;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-recurse")) {
            recurse = false;
        } else if (a == QLatin1String("--limit") && i + 1 < args.size()) {
            bool ok = false;
            limit = args[++i].toInt(&ok);
            if (!ok || limit < 0) {
                std::fputs("preview: --limit takes a whole number of 0 or more\n", stderr);
                return 2;
            }
        } else if (!probe::takePatternSwitch(args, raw, i, patterns)) {
            break;
        }
    }
    if (i + 1 != args.size()) {
        std::fputs("preview: give exactly one ROOT\n", stderr);
        return 2;
    }
    const QByteArrayList files = lorvane::PreviewFiles(raw[i], recurse, false);
    const lorvane::NamePreview result = lorvane::PreviewNames(files, patterns, limit);
    for (const lorvane::PreviewRow& row : result.rows) {
        writeLine(row.path + '\t' + row.name.artist + '\t' + row.name.title + '\t' +
                  lorvane::PatternName(row.name.pattern));
    }
    writeLine(lorvane::PreviewSummary(result).toUtf8());
    return 0;
}

const bool registered = cli::registerCommand(
    "preview",
    "[--no-recurse] [--track] [--bracket] [--dash] [--custom SEP] [--limit N] ROOT  "
    "(path, artist, title and pattern of the first N files a scan takes, default 1000, "
    "then the counts of all)",
    preview);

} // namespace
