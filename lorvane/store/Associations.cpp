#include "store/Associations.h"

#include "building/FileNameParsing.h"
#include "building/FileSearch.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/GenreFolders.h"
#include "store/StoreError.h"

#include <QByteArrayView>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lorvane {

namespace {

const char kCreateTable[] = "CREATE TABLE GenreAssociations (Artist TEXT, Genre TEXT)";
const char kInsertRow[] = "INSERT INTO GenreAssociations (Artist, Genre) VALUES (?1, ?2)";
const char kSelectRows[] = "SELECT Artist, Genre FROM GenreAssociations ORDER BY rowid";

// Closes the connection on every way out.
struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close(db); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
};

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

StoreError unreadable(const QByteArray& fileName, const QString& reason) {
    return StoreError(QStringLiteral("Cannot read the association file %1: %2")
                          .arg(DisplayText(fileName), reason));
}

// Names that are UTF-8 go in as text, so other SQLite tools show them; any other
// bytes go in as a blob and come back unchanged.
int bindName(sqlite3_stmt* stmt, int column, const QByteArray& value) {
    if (QByteArrayView(value).isValidUtf8())
        return sqlite3_bind_text(stmt, column, value.constData(), int(value.size()),
                                 SQLITE_TRANSIENT);
    return sqlite3_bind_blob(stmt, column, value.constData(), int(value.size()), SQLITE_TRANSIENT);
}

QByteArray columnBytes(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_blob(stmt, column);
    const int size = sqlite3_column_bytes(stmt, column);
    return data ? QByteArray(static_cast<const char*>(data), size) : QByteArray();
}

// A free name beside the association file for the new table; the file is made here
// (empty, which SQLite takes as an empty database) so no other writer can have it.
QByteArray reserveTemporary(const QByteArray& fileName) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray folder = fileName.left(fileName.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray temp = folder + ".lorvane.gen-";
        for (int i = 0; i < 8; ++i)
            temp += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temp;
        }
        if (errno != EEXIST)
            break;
    }
    throw StoreError::cannotCreate(fileName);
}

void writeTable(const QByteArray& temp, const QList<AssociationRow>& rows) {
    Connection c;
    if (sqlite3_open_v2(temp.constData(), &c.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw StoreError(c.error());
    // The file is private until it is renamed into place: no journal is needed.
    if (sqlite3_exec(c.db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(c.db, kCreateTable, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(c.db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(c.error());
    Statement insert;
    if (sqlite3_prepare_v2(c.db, kInsertRow, -1, &insert.stmt, nullptr) != SQLITE_OK)
        throw StoreError(c.error());
    for (const AssociationRow& row : rows) {
        if (bindName(insert.stmt, 1, CutAssociationField(row.artist)) != SQLITE_OK ||
            bindName(insert.stmt, 2, CutAssociationField(row.genre)) != SQLITE_OK ||
            sqlite3_step(insert.stmt) != SQLITE_DONE)
            throw StoreError(c.error());
        sqlite3_reset(insert.stmt);
        sqlite3_clear_bindings(insert.stmt);
    }
    if (sqlite3_exec(c.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(c.error());
}

} // namespace

QByteArray CutAssociationField(const QByteArray& value) {
    if (!QByteArrayView(value).isValidUtf8())
        return value.left(AssociationFieldSize);
    int characters = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        // A character starts at every byte that is not a continuation byte (10xxxxxx).
        if ((uchar(value[i]) & 0xC0) != 0x80 && ++characters > AssociationFieldSize)
            return value.left(i);
    }
    return value;
}

QList<AssociationRow> CollectAssociations(const ArtistStore& store, const QByteArrayList& genres,
                                          FileSearch& search) {
    QList<AssociationRow> rows;
    for (const QByteArray& genre : genres) {
        search.reset();
        search.FindFiles(store.genreFolder(genre), QByteArrayLiteral("*.lvn"), false);
        for (const QByteArray& file : search.FoundFiles())
            rows.append({BaseFileName(file), genre});
    }
    return rows;
}

void SaveAssociationFile(const QByteArray& fileName, const QList<AssociationRow>& rows) {
    const QByteArray temp = reserveTemporary(fileName);
    try {
        writeTable(temp, rows);
    } catch (const StoreError&) {
        ::unlink(temp.constData());
        throw StoreError::cannotCreate(fileName);
    }
    if (::rename(temp.constData(), fileName.constData()) != 0) {
        ::unlink(temp.constData());
        throw StoreError::cannotCreate(fileName);
    }
}

QList<AssociationRow> LoadAssociationFile(const QByteArray& fileName) {
    Connection c;
    if (sqlite3_open_v2(fileName.constData(), &c.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw unreadable(fileName, c.error());
    Statement select;
    if (sqlite3_prepare_v2(c.db, kSelectRows, -1, &select.stmt, nullptr) != SQLITE_OK)
        throw unreadable(fileName, c.error());
    QList<AssociationRow> rows;
    int step;
    while ((step = sqlite3_step(select.stmt)) == SQLITE_ROW)
        rows.append({columnBytes(select.stmt, 0), columnBytes(select.stmt, 1)});
    if (step != SQLITE_DONE)
        throw unreadable(fileName, c.error());
    return rows;
}

AssociationTable::AssociationTable(const QList<AssociationRow>& rows) {
    for (const AssociationRow& row : rows) {
        // A save only writes genre folder names; a row naming a folder elsewhere (a file
        // edited by hand) must not send a song out of the database folder.
        if (!NameRefusal(row.genre).isEmpty())
            continue;
        if (!m_first.contains(row.artist))
            m_first.insert(row.artist, row.genre);
    }
}

std::optional<QByteArray> AssociationTable::genreOf(const QByteArray& artist) const {
    const auto it = m_first.constFind(artist);
    if (it == m_first.constEnd())
        return std::nullopt;
    return *it;
}

Associations::Associations(QByteArray fileName, std::function<bool()> useAssociations)
    : m_fileName(std::move(fileName)), m_useAssociations(std::move(useAssociations)) {}

std::unique_ptr<AssociationLookup> Associations::LoadAssociations() {
    if (!m_useAssociations || !m_useAssociations() || !ArtistFile::exists(m_fileName))
        return nullptr;
    return std::make_unique<AssociationTable>(LoadAssociationFile(m_fileName));
}

} // namespace lorvane
