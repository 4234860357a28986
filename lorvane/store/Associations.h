#pragma once

#include "files/FindFiles.h"

#include "store/AssociationSource.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>

#include <functional>
#include <memory>

// The artist-to-genre association table and its file, lorvane.gen in the data home.
//
// A save replaces the rows whole or not at all: CollectAssociations gives one row per
// artist file, genre by genre in the order given, and SaveAssociationFile writes them.
// As an AssociationSource it opens the table only when the option "Use Associations
// When Adding" is on and the file exists.
//
// The file is an SQLite database holding one table, GenreAssociations(Artist, Genre),
// whose rows keep their save order (rowid). Values are the name bytes, cut to 100
// characters; there is no key, so an artist filed in two genres has two rows.
namespace lorvane {

class ArtistStore;

struct AssociationRow {
    QByteArray artist;
    QByteArray genre;
    bool operator==(const AssociationRow&) const = default;
};

// The longest value a field keeps, in characters.
inline constexpr int AssociationFieldSize = 100;

// value cut to AssociationFieldSize characters (UTF-8 characters for UTF-8 text,
// bytes otherwise).
QByteArray CutAssociationField(const QByteArray& value);

// One row per "*.lvn" of every genre in genres (that order), each genre folder
// searched without sub-folders, "Getting files: N..." told to captions.
QList<AssociationRow> CollectAssociations(const ArtistStore& store, const QByteArrayList& genres,
                                          const CaptionSink& captions = {});

// Replaces the rows of fileName (created when missing) in one SQLite transaction, under
// the database lock of the file's folder; a failed save leaves the old rows. Throws
// StoreError: "Cannot write the association file %s: database is locked" when another
// connection keeps SQLite's lock for more than a few seconds, the lock's "in use"
// message, else "Cannot create file %s". A file that is not an SQLite database is
// replaced whole (a new table filled beside it and renamed over it), as saves always did.
void SaveAssociationFile(const QByteArray& fileName, const QList<AssociationRow>& rows);

// The rows of fileName in save order. Throws StoreError naming the file when it cannot
// be read or is not an association file.
QList<AssociationRow> LoadAssociationFile(const QByteArray& fileName);

// The table of one add run: the first row of an artist wins. Rows whose genre could
// not be a genre folder's name (NameRefusal) are left out.
class AssociationTable : public AssociationLookup {
public:
    explicit AssociationTable(const QList<AssociationRow>& rows);
    std::optional<QByteArray> genreOf(const QByteArray& artist) const override;

private:
    QHash<QByteArray, QByteArray> m_first;
};

// The association file as the add runs see it.
class Associations : public AssociationSource {
public:
    // useAssociations tells whether "Use Associations When Adding" is ticked.
    Associations(QByteArray fileName, std::function<bool()> useAssociations);

    const QByteArray& fileName() const { return m_fileName; }

    // Null when the option is off or the file does not exist; throws StoreError when
    // the file exists but cannot be read.
    std::unique_ptr<AssociationLookup> LoadAssociations() override;

private:
    QByteArray m_fileName;
    std::function<bool()> m_useAssociations;
};

} // namespace lorvane
