#pragma once

#include "files/FindFiles.h"

#include "building/FileNameParsing.h"
#include "store/DatabaseLock.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

// The collection on disk: ProgramDir/LVNDB/<genre>/<artist>.lvn, one song path a line.
//
// The store decides, its caller applies what it reports:
// - Genre, artist and path values are file-system bytes, in and out. Every call names
//   its genre and artist; the store remembers no selection.
// - Existing artist files and genre folders are found regardless of letter case; a
//   new one keeps the case it is created with.
// - Mutating calls never throw: when a file cannot be written they stop, leave the
//   file as it was, and return the message in `error` beside what did change.
// - No call keeps collection data between calls: the folder tree is the only model.
// - Every call that changes files holds the database lock (DatabaseLock) for its
//   whole length; one that cannot get it in time changes nothing and reports "The
//   database is in use by another program." in `error` (or returns false / 0).
namespace lorvane {

class AssociationLookup;

struct AddSongResult {
    QByteArray artist;               // the parsed artist name (may be empty)
    QByteArray genre;                // the genre folder the song went to (its real name)
    bool artistFileCreated = false;  // a new artist file was made
    bool showInArtistList = false;   // add `artist` to ArtistList (created in the selected genre)
    bool genreFolderCreated = false; // add `genre` to GenreList and show the genre total
    bool duplicate = false;          // the path was stored already (ASCII case ignored)
    bool unstorable = false;         // path holds CR or LF: not stored, nothing changed
    QString error;                   // "Cannot create file ..." when the artist file failed
};

struct SongEntry {
    QByteArray title; // ParseSongTitle of the line: the text to show
    int lineIndex;    // 0-based line of the artist file: attach it to the list entry
};

struct DeleteSongResult {
    bool fileFound = false; // false: nothing changed, keep the lists
    bool artistFileDeleted =
        false; // remove the artist from ArtistList, show the total,
               // caption "(artist deleted because there were no songs existing)"
    QString error;
};

struct CleanArtistResult {
    bool fileFound = false;
    int removedLines = 0;
    bool artistFileDeleted = false; // as for DeleteSongResult, and clear the song list
    QString error;
};

struct ManualAddResult {
    int added = 0;
    int unstorable = 0; // chosen paths holding CR or LF, left out
    QString error;
};

class ArtistStore {
public:
    explicit ArtistStore(QByteArray programDir);
    ~ArtistStore();

    const QByteArray& ProgramDir() const { return m_programDir; }

    // The one-writer lock of this data home, and who shows that a command waits for it.
    const DatabaseLock& databaseLock() const { return m_lock; }
    DatabaseLock& databaseLock() { return m_lock; }
    void setWaitingSink(DatabaseLock::WaitingSink sink) { m_lock.setWaitingSink(std::move(sink)); }
    const QByteArray& DbFolderName() const { return m_dbFolderName; }

    // ProgramDir + "LVNDB/".
    QByteArray dbFolder() const;
    // "LVNDB/" + genre + "/", relative to ProgramDir (the window's GenrePath).
    QByteArray GenrePath(const QByteArray& genre) const;
    // ProgramDir + "LVNDB/" + genre + "/".
    QByteArray genreFolder(const QByteArray& genre) const;
    // The artist file of artist in genre: the existing file whose name matches
    // regardless of letter case (an exact match first), else the exact new path; empty
    // for a name that holds "/" (it cannot be a file name).
    QByteArray artistFile(const QByteArray& genre, const QByteArray& artist) const;

    // Whether the file path names may be deleted or moved away: its folder is the
    // database folder or one below it once links are resolved. A genre folder that is
    // a link leads elsewhere, and what is there is the user's; the link itself, an entry
    // of the database folder, may go.
    bool mayRemove(const QByteArray& path) const;

    // Creates the database folder when missing; failures are ignored. True if created.
    bool createDbFolder() const;

    // Names of the sub-folders of folder that do not start with "." (links to folders
    // count), in listing order; "." and ".." are left out. An empty folder means "/".
    QByteArrayList ListGenreFolders(const QByteArray& folder) const;
    // ListGenreFolders of the database folder: the genre list at start-up.
    QByteArrayList genres() const;

    // Files path: parses the artist, finds its file in the first genre folder (listing
    // order) that holds one, else the genre assoc gives (folder created when missing),
    // else "Unknown" (likewise), and appends path unless it is there already.
    // selectedGenre: the genre list's selection ("" for none); updateList as AddSong's
    // argument. assoc: the association table when loaded for this run, else null.
    AddSongResult AddSong(const QByteArray& path, const NamePatterns& patterns,
                          const QByteArray& selectedGenre, bool updateList,
                          const AssociationLookup* assoc = nullptr);

    // Artist names (base names of "*.lvn" in the genre folder, listing order);
    // "Getting files: N..." goes to captions.
    QByteArrayList ListArtists(const QByteArray& genre, const CaptionSink& captions = {}) const;

    // Entries of the song list, in line order (the list sorts them; keep lineIndex).
    // An empty artist list or a missing file gives none.
    QList<SongEntry> ListSongs(const QByteArray& genre, const QByteArray& artist,
                               const NamePatterns& patterns) const;

    // The stored path of a song-list entry: "null" when lineIndex < 0 (no entry) or
    // beyond the file's end, "" when the artist file does not exist.
    QByteArray SongPathOf(const QByteArray& genre, const QByteArray& artist, int lineIndex) const;

    // Removes line lineIndex; deletes the file when no line remains. Then remove the
    // focused song entry (when fileFound) and reload the song list.
    DeleteSongResult DeleteSongFromDB(const QByteArray& genre, const QByteArray& artist,
                                      int lineIndex);

    // Removes every line whose file does not exist (stat; relative paths are taken from
    // the current folder); deletes the artist file when none remains. Set the caption to
    // "Lorvane" first; reload the song list afterwards.
    CleanArtistResult CleanArtist(const QByteArray& genre, const QByteArray& artist);

    // Deletes the artist file if it exists (silent otherwise). Then remove the focused
    // artist entry, reload the song list and show the artist total. True if deleted.
    bool DeleteArtist(const QByteArray& genre, const QByteArray& artist);

    // Deletes every "*.lvn" below the database folder (links to folders not followed,
    // "Getting files: N..." told to captions). Genre folders and the association file
    // stay. Returns the number deleted.
    int PurgeDB(const CaptionSink& captions = {});

    // True when name should be added to the artist list: a genre is loaded and it has
    // no artist file of that name (letter case ignored). No file is created.
    bool AddArtistEntry(const QByteArray& genre, const QByteArray& name) const;

    // Appends paths (dialog order, no parsing, no duplicate check) to the artist's file,
    // creating it when missing. Reload the song list afterwards.
    ManualAddResult ManualAddSongs(const QByteArray& genre, const QByteArray& artist,
                                   const QByteArrayList& paths);

private:
    QByteArray m_programDir;
    QByteArray m_dbFolderName = QByteArrayLiteral("LVNDB");
    DatabaseLock m_lock;
};

} // namespace lorvane
