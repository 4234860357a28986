#include "files/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

namespace lorvane {

std::vector<FolderEntry> listFolder(const QByteArray& folder) {
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        // d_type spares a stat per entry; links and file systems without it need one.
        bool isFolder = entry->d_type == DT_DIR;
        bool isLink = entry->d_type == DT_LNK;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            const QByteArray path = folder + name;
            isFolder = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
            if (entry->d_type == DT_UNKNOWN)
                isLink = ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
        }
        entries.push_back({QByteArray(name), isFolder, isLink});
    }
    ::closedir(dir);
    return entries;
}

} // namespace lorvane
