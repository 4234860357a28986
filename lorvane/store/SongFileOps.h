#pragma once

#include "building/FileNameParsing.h"
#include "store/ArtistStore.h"

#include <QByteArray>
#include <QString>

// Renaming and deleting a song file on disk together with its line in the store.
//
// A rename completes on disk and in the store, or leaves both as they were (a store
// that cannot be written gives the file its old name back). The result says what
// changed among the genres and artists, so that the lists can follow.
namespace lorvane {

class AssociationLookup;
class AssociationSource;

// The song's folder (with its "/") + typed + ".mp3", whatever the old extension was.
QByteArray RenamedSongPath(const QByteArray& oldPath, const QByteArray& typed);

struct ReplaceSongPathResult {
    AddSongResult added;            // filing the new path (genre and artist to list)
    bool artistFileDeleted = false; // the focused artist's file lost its last line
    QString error;                  // an artist file that could not be written
};

// The store's side of a rename: files newPath under the artist parsed from it (AddSong
// with updateList), then removes the lines equal to oldPath (ASCII case ignored) from
// the focused artist's file, deleting the file when none remains. When the names
// differ only in letter case, the line keeps its place and holds newPath.
ReplaceSongPathResult ReplaceSongPath(ArtistStore& store, const QByteArray& genre,
                                      const QByteArray& artist, const QByteArray& newPath,
                                      const QByteArray& oldPath, const NamePatterns& patterns,
                                      const QByteArray& selectedGenre,
                                      const AssociationLookup* assoc);

enum class RenameOutcome {
    Unchanged,    // same name, a refused name, or a failure shown in `error`
    CannotRename, // the file could not be renamed (the new name exists, no right ...)
    Renamed,
};

struct RenameSongResult {
    RenameOutcome outcome = RenameOutcome::Unchanged;
    QByteArray newPath;
    ReplaceSongPathResult replaced; // when Renamed
    QString error;
};

// Renames the file oldPath to RenamedSongPath(oldPath, typed), never over an existing
// file nor beside one whose name differs only in ASCII letter case, and updates the store
// (ReplaceSongPath, unless updateStore is false: the artist list is empty). The association table
// is opened before the file is touched, so a table that cannot be read leaves everything as it was;
// so does a store that cannot be written (the file gets its old name back).
RenameSongResult RenameSong(ArtistStore& store, AssociationSource* assoc, const QByteArray& genre,
                            const QByteArray& artist, const QByteArray& oldPath,
                            const QByteArray& typed, const NamePatterns& patterns,
                            const QByteArray& selectedGenre, bool updateStore);

struct DeleteSongFileResult {
    bool fileDeleted = false; // the file is gone: apply `removed` to the lists
    DeleteSongResult removed; // the database side
    QString error;            // "Can't delete file ..." when the file stays
};

// Deletes the song file path, then line lineIndex of the artist's file if that line
// still holds path (another program may have changed the file since the list was
// read), deleting the artist file when none remains. A file that stays keeps its line,
// so a song on disk is never lost from the collection; a database in use deletes
// nothing. A path that names no file ("" or "null", as SongPathOf gives) deletes no
// file, only the entry.
DeleteSongFileResult DeleteSongFile(ArtistStore& store, const QByteArray& genre,
                                    const QByteArray& artist, int lineIndex,
                                    const QByteArray& path);

} // namespace lorvane
