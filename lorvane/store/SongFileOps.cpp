#include "store/SongFileOps.h"

#include "building/NameText.h"
#include "files/FolderListing.h"
#include "store/ArtistFile.h"
#include "store/AssociationSource.h"
#include "store/GenreFolders.h"
#include "store/StoreError.h"

#include <cerrno>
#include <sys/stat.h>

namespace lorvane {

namespace {

// Whether nothing, not even a dangling link, is left at path.
bool isGone(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) != 0 && errno == ENOENT;
}

// Lines equal to oldPath (ASCII case ignored) leave; with keepAs set, the first of
// them stays in its place holding keepAs instead. True when anything changed.
bool replaceLines(QByteArrayList& lines, const QByteArray& oldPath, const QByteArray* keepAs) {
    const QByteArray folded = ArtistFile::asciiFolded(oldPath);
    QByteArrayList kept;
    kept.reserve(lines.size());
    bool placed = false;
    for (const QByteArray& line : lines) {
        if (ArtistFile::asciiFolded(line) != folded) {
            kept.append(line);
        } else if (keepAs && !placed) {
            kept.append(*keepAs);
            placed = true;
        }
    }
    const bool changed = kept != lines;
    lines = std::move(kept);
    return changed;
}

// Whether another file of newPath's folder has its name apart from ASCII letter case.
// The store counts such paths as one song, so that file would take the renamed song's
// place; the rename is refused, as a file system that ignores case refuses it.
bool nameTakenInOtherCase(const QByteArray& oldPath, const QByteArray& newPath) {
    const qsizetype slash = newPath.lastIndexOf('/');
    const QByteArray folder = newPath.left(slash + 1);
    const QByteArray oldName = oldPath.mid(oldPath.lastIndexOf('/') + 1);
    const QByteArray wanted = ArtistFile::asciiFolded(newPath.mid(slash + 1));
    for (const FolderEntry& entry : listFolder(folder)) {
        if (entry.name != oldName && ArtistFile::asciiFolded(entry.name) == wanted)
            return true;
    }
    return false;
}

} // namespace

QByteArray RenamedSongPath(const QByteArray& oldPath, const QByteArray& typed) {
    return oldPath.left(oldPath.lastIndexOf('/') + 1) + typed + ".mp3";
}

ReplaceSongPathResult ReplaceSongPath(ArtistStore& store, const QByteArray& genre,
                                      const QByteArray& artist, const QByteArray& newPath,
                                      const QByteArray& oldPath, const NamePatterns& patterns,
                                      const QByteArray& selectedGenre,
                                      const AssociationLookup* assoc) {
    ReplaceSongPathResult result;
    DatabaseLock::Hold hold;
    try {
        hold = store.databaseLock().hold();
    } catch (const StoreError& e) {
        result.error = result.added.error = e.message();
        return result;
    }
    const QByteArray noted = store.artistFile(genre, artist);
    result.added = store.AddSong(newPath, patterns, selectedGenre, true, assoc);
    if (!result.added.error.isEmpty()) {
        result.error = result.added.error;
        return result;
    }
    // A path that a line cannot hold was not filed; the old line stays the song's record.
    if (result.added.unstorable || noted.isEmpty())
        return result;

    // A rename that changes only letter case finds its own old line as the duplicate of
    // the new path: that line is rewritten in place rather than removed.
    const bool caseOnly =
        newPath != oldPath && ArtistFile::asciiFolded(newPath) == ArtistFile::asciiFolded(oldPath);
    const QByteArray filed = store.artistFile(result.added.genre, result.added.artist);
    try {
        if (caseOnly && result.added.duplicate && filed != noted) {
            QByteArrayList lines = ArtistFile::read(filed);
            if (replaceLines(lines, oldPath, &newPath))
                ArtistFile::write(filed, lines);
        }
        bool found = false;
        QByteArrayList lines = ArtistFile::read(noted, &found);
        if (!found)
            return result;
        const bool keep = caseOnly && filed == noted;
        replaceLines(lines, oldPath, keep ? &newPath : nullptr);
        result.artistFileDeleted = ArtistFile::writeOrRemove(noted, lines, store.mayRemove(noted));
    } catch (const StoreError& e) {
        result.error = e.message();
    }
    return result;
}

RenameSongResult RenameSong(ArtistStore& store, AssociationSource* assoc, const QByteArray& genre,
                            const QByteArray& artist, const QByteArray& oldPath,
                            const QByteArray& typed, const NamePatterns& patterns,
                            const QByteArray& selectedGenre, bool updateStore) {
    RenameSongResult result;
    // A song that resolves to no path ("" or "null") has no file to rename; a file that
    // happens to be called "null" in the current folder is not it.
    if (oldPath.isEmpty() || oldPath == "null") {
        result.outcome = RenameOutcome::CannotRename;
        return result;
    }
    result.newPath = RenamedSongPath(oldPath, typed);
    if (result.newPath == oldPath)
        return result;
    // A name the window should have refused never reaches the file system.
    if (!NameRefusal(typed).isEmpty())
        return result;

    std::unique_ptr<AssociationLookup> table;
    try {
        if (assoc && updateStore)
            table = assoc->LoadAssociations();
    } catch (const StoreError& e) {
        result.error = e.message();
        return result;
    }

    // The store's lock is taken before the file is renamed, so a database in use leaves
    // the file as it was.
    DatabaseLock::Hold hold;
    try {
        if (updateStore)
            hold = store.databaseLock().hold();
    } catch (const StoreError& e) {
        result.error = e.message();
        return result;
    }
    if (nameTakenInOtherCase(oldPath, result.newPath) ||
        !RenameNoReplace(oldPath, result.newPath)) {
        result.outcome = RenameOutcome::CannotRename;
        return result;
    }
    result.outcome = RenameOutcome::Renamed;
    if (!updateStore)
        return result;
    result.replaced = ReplaceSongPath(store, genre, artist, result.newPath, oldPath, patterns,
                                      selectedGenre, table.get());
    result.error = result.replaced.error;
    // Nothing was filed: the file takes its old name back, so the store still tells the
    // truth about it.
    if (!result.replaced.added.error.isEmpty() && RenameNoReplace(result.newPath, oldPath))
        result.outcome = RenameOutcome::Unchanged;
    return result;
}

DeleteSongFileResult DeleteSongFile(ArtistStore& store, const QByteArray& genre,
                                    const QByteArray& artist, int lineIndex,
                                    const QByteArray& path) {
    DeleteSongFileResult result;
    if (path.isEmpty() || path == "null") {
        result.fileDeleted = true;
        result.removed = store.DeleteSongFromDB(genre, artist, lineIndex);
        return result;
    }
    DatabaseLock::Hold hold;
    try {
        hold = store.databaseLock().hold();
    } catch (const StoreError& e) {
        result.removed.error = e.message();
        return result;
    }
    if (!ArtistFile::remove(path) && !isGone(path)) {
        result.error = QStringLiteral("Can't delete file %1").arg(DisplayText(path));
        return result;
    }
    result.fileDeleted = true;
    DeleteSongResult& removed = result.removed;
    try {
        const QByteArray file = store.artistFile(genre, artist);
        QByteArrayList lines = ArtistFile::read(file, &removed.fileFound);
        if (!removed.fileFound || lineIndex < 0 || lineIndex >= lines.size() ||
            lines[lineIndex] != path)
            return result;
        lines.removeAt(lineIndex);
        removed.artistFileDeleted = ArtistFile::writeOrRemove(file, lines, store.mayRemove(file));
    } catch (const StoreError& e) {
        removed.error = e.message();
    }
    return result;
}

} // namespace lorvane
