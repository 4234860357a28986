#include "store/ArtistStoreSession.h"

#include "files/FolderListing.h"
#include "store/ArtistFile.h"
#include "store/AssociationSource.h"
#include "store/StoreError.h"

#include <climits>
#include <unistd.h>

namespace lorvane {

namespace {

const QByteArray kExtension = QByteArrayLiteral(".lvn");
const QByteArray kUnknownGenre = QByteArrayLiteral("Unknown");

bool hasArtistExtension(const QByteArray& name) {
    return name.size() >= kExtension.size() &&
           ArtistFile::asciiFolded(name.right(kExtension.size())) == kExtension;
}

} // namespace

ArtistStoreSession::ArtistStoreSession(const ArtistStore& store, bool deferWrites)
    : m_store(store), m_deferWrites(deferWrites) {}

const QByteArrayList& ArtistStoreSession::genres() {
    if (!m_genres)
        m_genres = m_store.genres();
    return *m_genres;
}

ArtistStoreSession::GenreFolder& ArtistStoreSession::genreFolder(const QByteArray& genre) {
    auto it = m_genreFolders.find(genre);
    if (it != m_genreFolders.end())
        return *it;
    GenreFolder folder;
    for (const FolderEntry& entry : listFolder(m_store.genreFolder(genre))) {
        if (entry.folder || !hasArtistExtension(entry.name))
            continue;
        folder.names.insert(entry.name);
        const QByteArray key = ArtistFile::nameKey(entry.name);
        if (!folder.byKey.contains(key))
            folder.byKey.insert(key, entry.name);
    }
    return *m_genreFolders.insert(genre, folder);
}

std::optional<QByteArray> ArtistStoreSession::artistFileName(const QByteArray& genre,
                                                             const QByteArray& artist) {
    const GenreFolder& folder = genreFolder(genre);
    const QByteArray wanted = artist + kExtension;
    if (folder.names.contains(wanted))
        return wanted;
    const auto it = folder.byKey.constFind(ArtistFile::nameKey(wanted));
    if (it != folder.byKey.constEnd())
        return *it;
    return std::nullopt;
}

QByteArray ArtistStoreSession::ensureGenre(const QByteArray& genre, AddSongResult& result) {
    const QByteArrayList& known = genres();
    if (known.contains(genre))
        return genre;
    const QByteArray key = ArtistFile::nameKey(genre);
    for (const QByteArray& existing : known) {
        if (ArtistFile::nameKey(existing) == key)
            return existing;
    }
    QByteArray folder = m_store.genreFolder(genre);
    folder.chop(1);
    if (ArtistFile::makeFolder(folder)) {
        result.genreFolderCreated = true;
        // The new folder takes its place in the listing order; read the order again.
        m_genres.reset();
        m_genreFolders.insert(genre, GenreFolder());
    }
    return genre;
}

ArtistStoreSession::ArtistData& ArtistStoreSession::artistData(const QByteArray& path) {
    auto it = m_artists.find(path);
    if (it != m_artists.end())
        return *it;
    ArtistData data;
    const QByteArray raw = ArtistFile::readRaw(path, &data.onDisk);
    data.lines = ArtistFile::splitLines(raw);
    data.canonical = ArtistFile::joinLines(data.lines) == raw;
    data.foldedLines.reserve(data.lines.size());
    for (const QByteArray& line : std::as_const(data.lines))
        data.foldedLines.insert(ArtistFile::songKey(line));
    return *m_artists.insert(path, data);
}

void ArtistStoreSession::checkWritable(const QByteArray& path) {
    // A deferred write must fail at the song that asks for it, as a direct one would:
    // what can be foreseen (no folder, no write access, a name too long) is checked now.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray target = ArtistFile::replacedFile(path);
    const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
    if (path.size() - slash - 1 > NAME_MAX || path.size() >= PATH_MAX ||
        ::access(folder.isEmpty() ? "." : folder.constData(), W_OK) != 0)
        throw StoreError::cannotCreate(path);
    ArtistFile::checkReplaceable(path);
}

void ArtistStoreSession::markDirty(const QByteArray& path, ArtistData& data) {
    if (data.dirty)
        return;
    if (m_deferWrites && !data.folderChecked) {
        checkWritable(path);
        data.folderChecked = true;
    }
    data.dirty = true;
    m_dirtyOrder.push_back(path);
}

void ArtistStoreSession::AddSong(const QByteArray& path, const NamePatterns& patterns,
                                 const QByteArray& selectedGenre, bool updateList,
                                 const AssociationLookup* assoc, AddSongResult& result) {
    result = AddSongResult();
    if (!m_holding) {
        m_hold = m_store.databaseLock().hold();
        m_holding = true;
    }
    result.artist = ParseArtist(path, patterns);
    const QByteArray& artist = result.artist;
    if (!ArtistFile::isStorableLine(path)) {
        result.unstorable = true;
        return;
    }

    const auto known = m_filed.constFind(artist);
    if (known != m_filed.constEnd()) {
        result.genre = known->genre;
        fileSong(path, known->filePath, result);
        return;
    }

    QByteArray genre;
    std::optional<QByteArray> fileName;
    for (const QByteArray& candidate : genres()) {
        fileName = artistFileName(candidate, artist);
        if (fileName) {
            genre = candidate;
            break;
        }
    }
    if (!fileName) {
        std::optional<QByteArray> remembered;
        if (assoc)
            remembered = assoc->genreOf(artist);
        genre = ensureGenre(remembered ? *remembered : kUnknownGenre, result);
        // Only a genre hidden from the listing can hold a file the search did not see.
        fileName = artistFileName(genre, artist);
    }
    result.genre = genre;
    const QByteArray filePath = m_store.genreFolder(genre) + fileName.value_or(artist + kExtension);
    fileSong(path, filePath, result);
    if (result.artistFileCreated) {
        GenreFolder& folder = genreFolder(genre);
        const QByteArray name = filePath.mid(filePath.lastIndexOf('/') + 1);
        folder.names.insert(name);
        folder.byKey.insert(ArtistFile::nameKey(name), name);
        result.showInArtistList = updateList && genre == selectedGenre;
    }
    m_filed.insert(artist, {genre, filePath});
}

void ArtistStoreSession::fileSong(const QByteArray& path, const QByteArray& filePath,
                                  AddSongResult& result) {
    ArtistData& data = artistData(filePath);
    if (data.onDisk) {
        const QByteArray folded = ArtistFile::songKey(path);
        if (data.foldedLines.contains(folded)) {
            result.duplicate = true;
            // Filing a song writes its artist file back, which makes its line ends CR LF.
            if (!data.canonical)
                markDirty(filePath, data);
        } else {
            markDirty(filePath, data);
            data.lines.append(path);
            data.foldedLines.insert(folded);
        }
        if (!m_deferWrites)
            flush();
        return;
    }

    // A new file is written at once unless the run defers its writes.
    if (m_deferWrites)
        markDirty(filePath, data);
    else
        ArtistFile::write(filePath, {path});
    data.lines = {path};
    data.foldedLines = {ArtistFile::songKey(path)};
    data.onDisk = true;
    data.canonical = true;
    result.artistFileCreated = true;
}

void ArtistStoreSession::flush() {
    std::size_t done = 0;
    try {
        for (; done < m_dirtyOrder.size(); ++done) {
            const QByteArray& path = m_dirtyOrder[done];
            ArtistData& data = m_artists[path];
            ArtistFile::write(path, data.lines);
            data.dirty = false;
            data.canonical = true;
        }
    } catch (...) {
        m_dirtyOrder.erase(m_dirtyOrder.begin(), m_dirtyOrder.begin() + qsizetype(done));
        throw;
    }
    m_dirtyOrder.clear();
}

void ArtistStoreSession::flushWhatCan() noexcept {
    for (const QByteArray& path : m_dirtyOrder) {
        ArtistData& data = m_artists[path];
        try {
            ArtistFile::write(path, data.lines);
            data.dirty = false;
            data.canonical = true;
        } catch (const StoreError&) {
        }
    }
    m_dirtyOrder.clear();
}

} // namespace lorvane
