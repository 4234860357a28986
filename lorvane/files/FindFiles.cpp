#include "files/FindFiles.h"

#include "files/FileSystems.h"
#include "files/FolderListing.h"

#include <map>
#include <optional>
#include <set>

#include <sys/stat.h>

namespace lorvane {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

// What one search has seen: the folders it searched, and which file systems it may enter.
struct Walk {
    const QByteArray& mask;
    const FindOptions& options;
    const FindProgress& progress;
    QByteArrayList found;
    std::optional<dev_t> device;                   // the first folder's file system
    std::set<std::pair<quint64, quint64>> visited; // (device, inode) of folders
    std::map<dev_t, bool> enterable;               // file system -> not pseudo

    bool mayEnter(const QByteArray& folder, dev_t dev) {
        if (!device)
            device = dev;
        if (options.sameFileSystem && dev != *device)
            return false;
        auto it = enterable.find(dev);
        if (it == enterable.end())
            it = enterable.emplace(dev, !IsOnPseudoFileSystem(folder)).first;
        return it->second;
    }

    bool stopped() const { return options.stop && options.stop->load(std::memory_order_relaxed); }

    void findIn(const QByteArray& folder) {
        struct stat st {};
        if (::stat(folder.isEmpty() ? "." : folder.constData(), &st) != 0 ||
            !mayEnter(folder, st.st_dev) ||
            !visited.insert({quint64(st.st_dev), quint64(st.st_ino)}).second)
            return;
        const std::vector<FolderEntry> entries = listFolder(folder);
        for (const FolderEntry& entry : entries) {
            if (stopped())
                return;
            if (entry.folder || !MatchesMask(entry.name, mask))
                continue;
            found.append(folder + entry.name);
            if (progress)
                progress(int(found.size()));
        }
        if (!options.recurse)
            return;
        // Hidden folders (a leading ".") stand for the hidden and system folders skipped.
        for (const FolderEntry& entry : entries) {
            if (stopped())
                return;
            if (entry.folder && !isHiddenName(entry.name) && (options.followLinks || !entry.link))
                findIn(folder + entry.name + '/');
        }
    }
};

} // namespace

FindProgress GettingFilesCaptions(CaptionSink captions) {
    if (!captions)
        return {};
    return [captions = std::move(captions)](int found) {
        if (found % 5 == 0)
            captions(QStringLiteral("Getting files: %1...").arg(found));
    };
}

bool MatchesMask(const QByteArray& name, const QByteArray& mask) {
    // Iterative wildcard match: on a mismatch, let the last "*" swallow one more byte.
    qsizetype n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() &&
                   (mask[m] == '?' || asciiLower(mask[m]) == asciiLower(name[n]))) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

QByteArrayList FindFiles(const QByteArray& folder, const QByteArray& mask,
                         const FindOptions& options, const FindProgress& progress) {
    Walk walk{mask, options, progress, {}, std::nullopt, {}, {}};
    walk.findIn(folder);
    return std::move(walk.found);
}

QByteArrayList FindSongFiles(QByteArray root, const FindOptions& options,
                             const FindProgress& progress) {
    if (!root.endsWith('/'))
        root += '/';
    return FindFiles(root, QByteArrayLiteral("*.mp3"), options, progress);
}

} // namespace lorvane
