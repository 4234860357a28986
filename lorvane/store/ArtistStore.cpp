#include "store/ArtistStore.h"

#include "files/DataHome.h"
#include "files/FindFiles.h"
#include "files/FolderListing.h"
#include "files/PathText.h"
#include "store/ArtistFile.h"
#include "store/ArtistStoreSession.h"
#include "store/StoreError.h"

#include <algorithm>

namespace lorvane {

namespace {

const QByteArray kExtension = QByteArrayLiteral(".lvn");

} // namespace

ArtistStore::ArtistStore(QByteArray programDir)
    : m_programDir(withTrailingSlash(std::move(programDir))), m_lock(m_programDir) {}

ArtistStore::~ArtistStore() = default;

QByteArray ArtistStore::dbFolder() const {
    return m_programDir + m_dbFolderName + '/';
}

QByteArray ArtistStore::GenrePath(const QByteArray& genre) const {
    return m_dbFolderName + '/' + genre + '/';
}

QByteArray ArtistStore::genreFolder(const QByteArray& genre) const {
    return m_programDir + GenrePath(genre);
}

QByteArray ArtistStore::artistFile(const QByteArray& genre, const QByteArray& artist) const {
    // A typed name with "/" would reach outside its genre folder; it names no file.
    if (artist.contains('/') || artist.contains('\0'))
        return {};
    const QByteArray folder = genreFolder(genre);
    const QByteArray wanted = artist + kExtension;
    if (ArtistFile::exists(folder + wanted) && !ArtistFile::isFolder(folder + wanted))
        return folder + wanted;
    const QByteArray key = ArtistFile::nameKey(wanted);
    for (const FolderEntry& entry : listFolder(folder)) {
        if (!entry.folder && ArtistFile::nameKey(entry.name) == key)
            return folder + entry.name;
    }
    return folder + wanted;
}

bool ArtistStore::createDbFolder() const {
    QByteArray folder = dbFolder();
    folder.chop(1);
    return ArtistFile::makeFolder(folder);
}

QByteArrayList ArtistStore::ListGenreFolders(const QByteArray& folder) const {
    QByteArrayList names;
    for (const FolderEntry& entry : listFolder(withTrailingSlash(folder))) {
        if (entry.folder && !isHiddenName(entry.name))
            names.append(entry.name);
    }
    return names;
}

QByteArrayList ArtistStore::genres() const {
    return ListGenreFolders(dbFolder());
}

AddSongResult ArtistStore::AddSong(const QByteArray& path, const NamePatterns& patterns,
                                   const QByteArray& selectedGenre, bool updateList,
                                   const AssociationLookup* assoc) {
    AddSongResult result;
    ArtistStoreSession session(*this, false);
    try {
        session.AddSong(path, patterns, selectedGenre, updateList, assoc, result);
    } catch (const StoreError& e) {
        result.error = e.message();
    }
    return result;
}

QByteArrayList ArtistStore::ListArtists(const QByteArray& genre,
                                        const CaptionSink& captions) const {
    const QByteArrayList files =
        FindFiles(genreFolder(genre), "*.lvn", FindOptions{}, GettingFilesCaptions(captions));
    QByteArrayList artists;
    artists.reserve(files.size());
    for (const QByteArray& file : files)
        artists.append(BaseFileName(file));
    return artists;
}

QList<SongEntry> ArtistStore::ListSongs(const QByteArray& genre, const QByteArray& artist,
                                        const NamePatterns& patterns) const {
    QList<SongEntry> songs;
    QByteArrayList lines;
    try {
        lines = ArtistFile::read(artistFile(genre, artist));
    } catch (const StoreError&) {
        return songs; // an unreadable file lists as a missing one
    }
    songs.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (ArtistFile::isSongLine(lines[i]))
            songs.append({ParseSongTitle(lines[i], patterns), i});
    }
    return songs;
}

QByteArray ArtistStore::SongPathOf(const QByteArray& genre, const QByteArray& artist,
                                   int lineIndex) const {
    if (lineIndex < 0)
        return QByteArrayLiteral("null");
    bool exists = false;
    QByteArrayList lines;
    try {
        lines = ArtistFile::read(artistFile(genre, artist), &exists);
    } catch (const StoreError&) {
        return {};
    }
    if (!exists)
        return {};
    return lineIndex < lines.size() ? lines[lineIndex] : QByteArrayLiteral("null");
}

bool ArtistStore::mayRemove(const QByteArray& path) const {
    const QByteArray db = resolvedPath(dbFolder());
    const QByteArray folder =
        resolvedPath(path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1)));
    if (db.isEmpty() || folder.isEmpty())
        return false;
    return folder == db || folder.startsWith(db == "/" ? db : db + '/');
}

DeleteSongResult ArtistStore::DeleteSongFromDB(const QByteArray& genre, const QByteArray& artist,
                                               int lineIndex) {
    DeleteSongResult result;
    try {
        const DatabaseLock::Hold hold = m_lock.hold();
        const QByteArray path = artistFile(genre, artist);
        QByteArrayList lines = ArtistFile::read(path, &result.fileFound);
        if (!result.fileFound)
            return result;
        if (lineIndex >= 0 && lineIndex < lines.size())
            lines.removeAt(lineIndex);
        result.artistFileDeleted = ArtistFile::writeOrRemove(path, lines, mayRemove(path));
    } catch (const StoreError& e) {
        result.error = e.message();
    }
    return result;
}

CleanArtistResult ArtistStore::CleanArtist(const QByteArray& genre, const QByteArray& artist) {
    CleanArtistResult result;
    try {
        const DatabaseLock::Hold hold = m_lock.hold();
        const QByteArray path = artistFile(genre, artist);
        const QByteArrayList lines = ArtistFile::read(path, &result.fileFound);
        if (!result.fileFound)
            return result;
        QByteArrayList kept;
        for (const QByteArray& line : lines) {
            if (ArtistFile::exists(line))
                kept.append(line);
        }
        result.removedLines = int(lines.size() - kept.size());
        result.artistFileDeleted = ArtistFile::writeOrRemove(path, kept, mayRemove(path));
    } catch (const StoreError& e) {
        result.error = e.message();
    }
    return result;
}

bool ArtistStore::DeleteArtist(const QByteArray& genre, const QByteArray& artist) {
    try {
        const DatabaseLock::Hold hold = m_lock.hold();
        const QByteArray path = artistFile(genre, artist);
        return !path.isEmpty() && mayRemove(path) && ArtistFile::remove(path);
    } catch (const StoreError&) {
        return false;
    }
}

int ArtistStore::PurgeDB(const CaptionSink& captions) {
    DatabaseLock::Hold hold;
    try {
        hold = m_lock.hold();
    } catch (const StoreError&) {
        return 0;
    }
    const FindOptions inside{.recurse = true, .followLinks = false};
    int deleted = 0;
    for (const QByteArray& file :
         FindFiles(dbFolder(), "*.lvn", inside, GettingFilesCaptions(captions))) {
        if (mayRemove(file) && ArtistFile::remove(file))
            ++deleted;
    }
    return deleted;
}

bool ArtistStore::AddArtistEntry(const QByteArray& genre, const QByteArray& name) const {
    if (genre.isEmpty())
        return false;
    return !ArtistFile::exists(artistFile(genre, name)); // a name with "/" is listed anyway
}

ManualAddResult ArtistStore::ManualAddSongs(const QByteArray& genre, const QByteArray& artist,
                                            const QByteArrayList& paths) {
    ManualAddResult result;
    if (genre.isEmpty())
        return result;
    try {
        const DatabaseLock::Hold hold = m_lock.hold();
        const QByteArray path = artistFile(genre, artist);
        if (path.isEmpty())
            throw StoreError::cannotCreate(genreFolder(genre) + artist + kExtension);
        QByteArrayList lines = ArtistFile::read(path);
        for (const QByteArray& song : paths) {
            if (!ArtistFile::isStorableLine(song)) {
                ++result.unstorable;
                continue;
            }
            lines.append(song);
            ++result.added;
        }
        // A file never stays empty: with nothing to store, leave it as it is.
        if (!lines.isEmpty())
            ArtistFile::write(path, lines);
    } catch (const StoreError& e) {
        result.error = e.message();
    }
    return result;
}

} // namespace lorvane
