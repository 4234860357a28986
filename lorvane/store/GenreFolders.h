#pragma once

#include "files/FindFiles.h"

#include <QByteArray>
#include <QString>

// Genres as folders of the database: adding, renaming and removing them, and moving an
// artist's file from one genre to another.
//
// NameRefusal() gives the reason a typed name cannot name a genre; the calls below
// expect a name it accepts. Genre and artist names are file-system bytes. A genre or an
// artist that exists under another letter case counts as existing, as it does for
// adding songs.
namespace lorvane {

class ArtistStore;

// Why name cannot name a genre folder, an artist file or a song file inside its own
// folder: it holds "/" (or a zero byte, or a line break), is "." or "..", or is empty
// once blanks are trimmed. An empty string when the name can be used.
QString NameRefusal(const QByteArray& name);

// NameRefusal, and a genre name must not start with ".": such folders are hidden, so
// the genre would vanish from the list at the next start.
QString GenreNameRefusal(const QByteArray& name);

class GenreFolders {
public:
    explicit GenreFolders(const ArtistStore& store) : m_store(store) {}

    // Creates the genre folder; false when the name is refused, the genre exists
    // (whatever its letter case) or the folder cannot be made.
    bool AddGenreFolder(const QByteArray& name) const;

    // Renames the genre folder with everything in it. False, with nothing changed, when
    // the new name is refused, another genre has it (whatever its letter case), or the
    // rename fails; an existing folder is never replaced.
    bool RenameGenreFolder(const QByteArray& genre, const QByteArray& newName) const;

    // Deletes every "*.lvn" below the genre folder (links to folders not followed,
    // "Getting files: N..." told to captions), then removes the folder when nothing else
    // is left in it. True when the folder itself went.
    bool RemoveGenre(const QByteArray& genre, const CaptionSink& captions = {}) const;

    // Moves the artist's file from source to target. False, with nothing changed, when
    // the target already holds a file of that artist (whatever its letter case) or the
    // rename fails.
    bool MoveArtist(const QByteArray& source, const QByteArray& target,
                    const QByteArray& artist) const;

private:
    // The existing genre folder whose name matches name regardless of letter case.
    QByteArray existingGenre(const QByteArray& name) const;

    const ArtistStore& m_store;
};

// Renames from to to unless to exists; never replaces anything. False on failure, with
// errno set.
bool RenameNoReplace(const QByteArray& from, const QByteArray& to);

} // namespace lorvane
