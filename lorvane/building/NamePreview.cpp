#include "building/NamePreview.h"

#include <QLocale>

#include <algorithm>

namespace lorvane {

QByteArrayList PreviewFiles(const QByteArray& root, bool recurse, bool sameFileSystem,
                            const std::atomic<bool>* stop, CaptionSink progress) {
    const FindOptions options{.recurse = recurse, .sameFileSystem = sameFileSystem, .stop = stop};
    return FindSongFiles(root, options, GettingFilesCaptions(std::move(progress)));
}

NamePreview PreviewNames(const QByteArrayList& files, const NamePatterns& patterns, int limit) {
    NamePreview preview;
    preview.files = int(files.size());
    preview.rows.reserve(size_t(std::clamp<qsizetype>(files.size(), 0, limit)));
    for (const QByteArray& path : files) {
        ParsedName name = ParseName(path, patterns);
        if (name.pattern != NamePattern::None)
            ++preview.named;
        if (int(preview.rows.size()) < limit)
            preview.rows.push_back({path, std::move(name)});
    }
    return preview;
}

QString PreviewSummary(const NamePreview& p) {
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    const QString files = p.files == 1 ? QStringLiteral("1 file")
                                       : QStringLiteral("%1 files").arg(grouped.toString(p.files));
    return QStringLiteral("%1%2: %3 named, %4 with no pattern")
        .arg(p.stopped ? QStringLiteral("Stopped: ") : QString(), files, grouped.toString(p.named),
             grouped.toString(p.files - p.named));
}

} // namespace lorvane
