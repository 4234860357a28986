#pragma once

#include "building/FileNameParsing.h"
#include "files/FindFiles.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// Scanning a folder tree into the collection.
//
// A Scanner lasts one scan and sends its progress lines to its caption sink.
// A failure ends the run: what was filed before it stays filed, and the result says why.
// The scan files the songs exactly as AddSong would one by one; it only remembers,
// for its own length, what it learnt about the folders and the files it wrote, and
// writes each changed artist file once at the end (and every few seconds on a long
// run), each write atomic.
namespace lorvane {

class ArtistStore;
class AssociationSource;

struct OrganizeResult {
    QByteArrayList artistsToList; // artists created in the selected genre, creation order
    QByteArrayList genresCreated; // genre folders created on the way, creation order
    int processed = 0;            // found files handed to AddSong
    int added = 0;                // new lines
    int duplicates = 0;           // entries that were stored already
    int unstorable = 0;           // paths holding CR or LF, which a line cannot keep
    int unnamed = 0;              // of the added, those that fit no pattern (UnknownArtist)
    QByteArray unnamedGenre;      // the genre the last of them went to
    QString error;                // the failure that stopped the run, if any
};

// What the window says, once after a scan or a manual add, about the files it left
// out because their names hold a line break; "" when there were none.
QString UnstorableNotice(int unstorable);

// "12 added, 3 already filed, 2 with no pattern": what a scan did, for its report.
QString ScanSummary(const OrganizeResult& result);

class Scanner {
public:
    explicit Scanner(ArtistStore& store, CaptionSink captions = {});

    // AddSong over found, with the association table opened for the run (assoc null: no
    // table). "Organizing MP3s: i" goes to the caption sink after entry i when i is a
    // multiple of 5. A file that cannot be written stops the run there; the songs before
    // it stay added.
    OrganizeResult OrganizeFiles(const QByteArrayList& found, const NamePatterns& patterns,
                                 const QByteArray& selectedGenre, AssociationSource* assoc);

    // One complete scan: FindFiles(root, "*.mp3") with "Getting files: N..." captions,
    // then OrganizeFiles over what it found. root ends in "/" (one is appended when
    // missing). A drive's scan keeps to the drive's file system (sameFileSystem).
    OrganizeResult AddFromFolder(const QByteArray& root, bool recurse, const NamePatterns& patterns,
                                 const QByteArray& selectedGenre, AssociationSource* assoc,
                                 bool sameFileSystem = false);

    // The files the last AddFromFolder found, in the order it filed them.
    const QByteArrayList& foundFiles() const { return m_found; }

    // How long the scan may keep changes unwritten, in milliseconds (0: write after
    // every song). Changes are always written when the run ends.
    void setFlushInterval(int milliseconds) { m_flushIntervalMs = milliseconds; }

private:
    ArtistStore& m_store;
    CaptionSink m_captions;
    QByteArrayList m_found;
    int m_flushIntervalMs = 2000;
};

} // namespace lorvane
