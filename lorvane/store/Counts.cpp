#include "store/Counts.h"

#include "building/FileSearch.h"
#include "store/ArtistFile.h"

namespace lorvane {

qint64 CountSongs(const QByteArray& folder, FileSearch& search) {
    search.reset();
    search.FindFiles(folder, QByteArrayLiteral("*.lvn"), true);
    qint64 total = 0;
    const QByteArrayList& files = search.FoundFiles();
    for (int i = 0; i < files.size(); ++i) {
        bool exists = false;
        const QByteArrayList lines = ArtistFile::read(files[i], &exists);
        if (exists)
            total += lines.size();
        if (i % 5 == 0)
            search.caption(QStringLiteral("Counting MP3s from Artists: %1").arg(i));
    }
    return total;
}

} // namespace lorvane
