#include "store/Scanner.h"

#include "files/DataHome.h"
#include "files/PathText.h"
#include "store/ArtistStore.h"
#include "store/ArtistStoreSession.h"
#include "store/AssociationSource.h"
#include "store/StoreError.h"

#include <QElapsedTimer>
#include <QLocale>

#include <memory>

namespace lorvane {

QString UnstorableNotice(int unstorable) {
    if (unstorable <= 0)
        return {};
    if (unstorable == 1)
        return QStringLiteral("1 file was not added: its name holds a line break, which the "
                              "database cannot keep.");
    return QStringLiteral("%1 files were not added: their names hold a line break, which the "
                          "database cannot keep.")
        .arg(unstorable);
}

QString ScanSummary(const OrganizeResult& r) {
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("%1 added, %2 already filed, %3 with no pattern")
        .arg(grouped.toString(r.added), grouped.toString(r.duplicates),
             grouped.toString(r.unnamed));
}

Scanner::Scanner(ArtistStore& store, CaptionSink captions)
    : m_store(store), m_captions(std::move(captions)) {}

OrganizeResult Scanner::OrganizeFiles(const QByteArrayList& found, const NamePatterns& patterns,
                                      const QByteArray& selectedGenre, AssociationSource* assoc) {
    OrganizeResult result;
    std::unique_ptr<AssociationLookup> table;
    try {
        if (assoc)
            table = assoc->LoadAssociations();
    } catch (const StoreError& e) {
        result.error = e.message();
        return result;
    }

    const bool deferWrites = m_flushIntervalMs > 0;
    ArtistStoreSession session(m_store, deferWrites);
    QElapsedTimer sinceFlush;
    sinceFlush.start();
    try {
        for (qsizetype i = 0; i < found.size(); ++i) {
            AddSongResult song;
            try {
                session.AddSong(found[i], patterns, selectedGenre, true, table.get(), song);
            } catch (const StoreError&) {
                // A genre folder made before the failure is on disk: the window lists it.
                if (song.genreFolderCreated)
                    result.genresCreated.append(song.genre);
                throw;
            }
            ++result.processed;
            if (song.unstorable)
                ++result.unstorable;
            else if (song.duplicate)
                ++result.duplicates;
            else
                ++result.added;
            if (!song.unstorable && !song.duplicate && song.artist == UnknownArtist) {
                ++result.unnamed;
                result.unnamedGenre = song.genre;
            }
            if (song.genreFolderCreated)
                result.genresCreated.append(song.genre);
            if (song.showInArtistList)
                result.artistsToList.append(song.artist);
            if (i % 5 == 0 && m_captions)
                m_captions(QStringLiteral("Organizing MP3s: %1").arg(i));
            // A long run writes what it has every few seconds, so that an interruption
            // loses little; each write still replaces its file whole.
            if (deferWrites && session.hasPending() && sinceFlush.elapsed() >= m_flushIntervalMs) {
                session.flush();
                sinceFlush.restart();
            }
        }
        session.flush();
    } catch (const StoreError& e) {
        result.error = e.message();
        session.flushWhatCan(); // the songs before the failure stay added
    }
    return result;
}

OrganizeResult Scanner::AddFromFolder(const QByteArray& root, bool recurse,
                                      const NamePatterns& patterns, const QByteArray& selectedGenre,
                                      AssociationSource* assoc, bool sameFileSystem) {
    const FindOptions options{.recurse = recurse, .sameFileSystem = sameFileSystem};
    // Stored paths must not depend on the folder the program was started from.
    m_found = FindSongFiles(absolutePath(root), options, GettingFilesCaptions(m_captions));
    return OrganizeFiles(m_found, patterns, selectedGenre, assoc);
}

} // namespace lorvane
