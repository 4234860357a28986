#pragma once

#include "building/FileNameParsing.h"
#include "store/ArtistStore.h"
#include "store/DatabaseLock.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QSet>

#include <optional>
#include <vector>

// The working memory of one add run. A single AddSong uses a session for that one
// song; a scan keeps one for its whole run, so the database folder, each genre folder
// and each artist file it touches are read once, and the changed artist files are
// written together (flush) instead of once per song. What the session remembers is
// only what it read or wrote itself; it assumes nobody else changes the database
// folder during the run (one instance owns it).
//
// Filing a song through a session gives the same files, byte for byte, as filing the
// songs one by one. Genre folders are created at once; before a write is deferred, the
// failures that can be foreseen (no folder, no write access, a name too long) are
// checked, so they stop the run at the very song that meets them. A failure that only
// the write itself shows (a full disk) ends the run when the pending files are written.
namespace lorvane {

class AssociationLookup;

class ArtistStoreSession {
public:
    // deferWrites false: every change is written before AddSong returns.
    ArtistStoreSession(const ArtistStore& store, bool deferWrites);

    // Files one song; fills result as it goes (so a caller that catches the StoreError
    // still learns what was created before the failure).
    void AddSong(const QByteArray& path, const NamePatterns& patterns,
                 const QByteArray& selectedGenre, bool updateList, const AssociationLookup* assoc,
                 AddSongResult& result);

    // Writes every artist file changed since the last flush; throws StoreError on the
    // first file that cannot be written (the files after it stay pending).
    void flush();
    // After a failure: writes what it can of the pending files, ignoring failures.
    void flushWhatCan() noexcept;
    bool hasPending() const { return !m_dirtyOrder.empty(); }

private:
    struct GenreFolder {
        QSet<QByteArray> names;              // artist file names as they are
        QHash<QByteArray, QByteArray> byKey; // name key -> first name in listing order
    };
    struct ArtistData {
        QByteArrayList lines;
        QSet<QByteArray> foldedLines; // ASCII-folded lines: the duplicate test
        bool onDisk = false;          // on disk, or its creation pending
        bool canonical = true;        // the file's bytes are joinLines(lines)
        bool dirty = false;
        bool folderChecked = false;
    };

    const QByteArrayList& genres();
    GenreFolder& genreFolder(const QByteArray& genre);
    // Name of the artist file of artist in genre when one exists (regardless of case).
    std::optional<QByteArray> artistFileName(const QByteArray& genre, const QByteArray& artist);
    // The existing genre folder matching genre regardless of case, else a new one.
    QByteArray ensureGenre(const QByteArray& genre, AddSongResult& result);
    ArtistData& artistData(const QByteArray& path);
    void markDirty(const QByteArray& path, ArtistData& data);
    // Appends path to the artist file at filePath unless it is there; creates the file.
    void fileSong(const QByteArray& path, const QByteArray& filePath, AddSongResult& result);
    static void checkWritable(const QByteArray& path);

    const ArtistStore& m_store;
    const bool m_deferWrites;
    DatabaseLock::Hold m_hold; // taken by the first AddSong
    bool m_holding = false;
    std::optional<QByteArrayList> m_genres;
    QHash<QByteArray, GenreFolder> m_genreFolders;
    QHash<QByteArray, ArtistData> m_artists;
    std::vector<QByteArray> m_dirtyOrder;
    // Where each artist's songs went. Stable for the run: an artist that has a file is
    // never given another one, and only this run creates files.
    struct Filed {
        QByteArray genre;
        QByteArray filePath;
    };
    QHash<QByteArray, Filed> m_filed;
};

} // namespace lorvane
