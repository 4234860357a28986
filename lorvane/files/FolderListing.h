#pragma once

#include <QByteArray>

#include <vector>

// One directory listing in the order the file system returns it, the names as bytes.
namespace lorvane {

struct FolderEntry {
    QByteArray name;
    bool folder; // a folder, or a link to one
    bool link;   // a symbolic link
};

// The entries of folder without "." and ".."; empty when it cannot be listed.
// folder must end in "/" (or be empty for the current folder).
std::vector<FolderEntry> listFolder(const QByteArray& folder);

// Whether name starts with "."; such entries stand for hidden and system entries.
inline bool isHiddenName(const QByteArray& name) {
    return name.startsWith('.');
}

} // namespace lorvane
