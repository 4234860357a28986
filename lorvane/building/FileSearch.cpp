#include "building/FileSearch.h"

#include "building/FolderListing.h"
#include "platform/FileSystems.h"

#include <map>
#include <optional>
#include <set>

#include <sys/stat.h>

namespace lorvane {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

} // namespace

void FileSearch::caption(const QString& text) const {
    if (m_captions)
        m_captions(text);
}

void FileSearch::reset() {
    m_found.clear();
    m_fileCounter = 0;
}

bool FileSearch::matchesMask(const QByteArray& name, const QByteArray& mask) {
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

// What one search has seen: the folders it searched, and which file systems it may enter.
struct FileSearch::Walk {
    Reach reach;
    std::optional<dev_t> device;                   // the first folder's file system
    std::set<std::pair<quint64, quint64>> visited; // (device, inode) of folders
    std::map<dev_t, bool> enterable;               // file system -> not pseudo

    bool mayEnter(const QByteArray& folder, dev_t dev) {
        if (!device)
            device = dev;
        if (reach == Reach::OneFileSystem && dev != *device)
            return false;
        auto it = enterable.find(dev);
        if (it == enterable.end())
            it = enterable.emplace(dev, !IsOnPseudoFileSystem(folder)).first;
        return it->second;
    }
};

void FileSearch::FindFiles(const QByteArray& folder, const QByteArray& mask, bool recurse,
                           Reach reach) {
    Walk walk{reach, std::nullopt, {}, {}};
    findIn(folder, mask, recurse, walk);
}

void FileSearch::findIn(const QByteArray& folder, const QByteArray& mask, bool recurse,
                        Walk& walk) {
    struct stat st {};
    if (::stat(folder.isEmpty() ? "." : folder.constData(), &st) != 0 ||
        !walk.mayEnter(folder, st.st_dev) ||
        !walk.visited.insert({quint64(st.st_dev), quint64(st.st_ino)}).second)
        return;
    const std::vector<FolderEntry> entries = listFolder(folder);
    for (const FolderEntry& entry : entries) {
        if (entry.folder || !matchesMask(entry.name, mask))
            continue;
        m_found.append(folder + entry.name);
        ++m_fileCounter;
        if (m_fileCounter % 5 == 0 && m_captions)
            m_captions(QStringLiteral("Getting files: %1...").arg(m_fileCounter));
    }
    if (!recurse)
        return;
    // Hidden folders (a leading ".") stand for the hidden and system folders skipped here.
    for (const FolderEntry& entry : entries) {
        if (entry.folder && !isHiddenName(entry.name) && (m_followFolderLinks || !entry.link))
            findIn(folder + entry.name + '/', mask, true, walk);
    }
}

} // namespace lorvane
