#include "store/Counts.h"

#include "store/ArtistFile.h"

#include <algorithm>

namespace lorvane {

qint64 CountSongs(const QByteArray& folder, const CaptionSink& captions) {
    const QByteArrayList files =
        FindFiles(folder, QByteArrayLiteral("*.lvn"), FindOptions{.recurse = true},
                  GettingFilesCaptions(captions));
    qint64 total = 0;
    for (int i = 0; i < files.size(); ++i) {
        bool exists = false;
        const QByteArrayList lines = ArtistFile::read(files[i], &exists);
        if (exists)
            total += std::count_if(lines.begin(), lines.end(), ArtistFile::isSongLine);
        if (i % 5 == 0 && captions)
            captions(QStringLiteral("Counting MP3s from Artists: %1").arg(i));
    }
    return total;
}

} // namespace lorvane
