#pragma once

#include "building/FileNameParsing.h"
#include "files/FindFiles.h"

#include <QByteArrayList>
#include <QString>

#include <atomic>
#include <vector>

// How a scan would read the names under a root, before it files anything.
//
// PreviewFiles finds what the scan would find, by the scan's own search; it may run on
// a worker thread and stops when asked. PreviewNames is pure, so it can run again for
// every change of the patterns. Nothing here touches the database.
namespace lorvane {

inline constexpr int PreviewLimit = 1000;

struct PreviewRow {
    QByteArray path;
    ParsedName name;
};

struct NamePreview {
    std::vector<PreviewRow> rows; // the first files in the order the scan takes them
    int files = 0;                // all files looked at
    int named = 0;                // those a switched-on pattern fits
    bool stopped = false;         // the search was stopped before its end
};

// The files a scan of root would take, in its order. When *stop turns true the search
// ends early with what it found; progress gets "Getting files: N..." lines.
QByteArrayList PreviewFiles(const QByteArray& root, bool recurse, bool sameFileSystem,
                            const std::atomic<bool>* stop = nullptr, CaptionSink progress = {});

// Parses every file as the scan does; keeps rows for the first `limit`.
NamePreview PreviewNames(const QByteArrayList& files, const NamePatterns& patterns,
                         int limit = PreviewLimit);

// "2,314 files: 2,101 named, 213 with no pattern", begun with "Stopped: " for a search
// that was stopped.
QString PreviewSummary(const NamePreview& preview);

} // namespace lorvane
