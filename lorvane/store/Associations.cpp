#include "store/Associations.h"

#include "building/FileNameParsing.h"
#include "files/FolderListing.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/DatabaseLock.h"
#include "store/GenreFolders.h"
#include "store/StoreError.h"

#include <QByteArrayView>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

// Readers and the writer wait this long for each other's SQLite locks.
constexpr int BusyTimeoutMs = 5000;

const QByteArray kTemporaryPrefix = QByteArrayLiteral(".lorvane.gen-");

// Saves of earlier versions filled a temporary file beside the association file and
// renamed it into place; a killed one left its file behind.
void removeOldTemporaries(const QByteArray& folder) {
    for (const FolderEntry& entry : listFolder(folder)) {
        const QByteArray& name = entry.name;
        if (entry.folder || !name.startsWith(kTemporaryPrefix) ||
            name.size() != kTemporaryPrefix.size() + 8)
            continue;
        const QByteArray tail = name.mid(kTemporaryPrefix.size());
        if (std::all_of(tail.begin(), tail.end(),
                        [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }))
            ArtistFile::remove(folder + name);
    }
}

// A free name beside the association file; the file is made here (empty, which SQLite
// takes as an empty database) so no other writer can have it.
QByteArray reserveTemporary(const QByteArray& folder) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray temp = folder + kTemporaryPrefix;
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
    return {};
}

bool isBusy(int rc) {
    return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED;
}

// The rows are replaced in one transaction inside the existing file: SQLite's own
// locks keep other connections' transactions whole, and its journal keeps the old
// rows when the save fails half-way.
void writeTable(Connection& c, const QList<AssociationRow>& rows) {
    sqlite3_busy_timeout(c.db, BusyTimeoutMs);
    const auto exec = [&c](const char* sql) {
        const int rc = sqlite3_exec(c.db, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw rc;
    };
    exec("BEGIN IMMEDIATE");
    try {
        exec("DROP TABLE IF EXISTS GenreAssociations");
        exec(kCreateTable);
        Statement insert;
        int rc = sqlite3_prepare_v2(c.db, kInsertRow, -1, &insert.stmt, nullptr);
        if (rc != SQLITE_OK)
            throw rc;
        for (const AssociationRow& row : rows) {
            if ((rc = bindName(insert.stmt, 1, CutAssociationField(row.artist))) != SQLITE_OK ||
                (rc = bindName(insert.stmt, 2, CutAssociationField(row.genre))) != SQLITE_OK)
                throw rc;
            if ((rc = sqlite3_step(insert.stmt)) != SQLITE_DONE)
                throw rc;
            sqlite3_reset(insert.stmt);
            sqlite3_clear_bindings(insert.stmt);
        }
        exec("COMMIT");
    } catch (int) {
        sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
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
                                          const CaptionSink& captions) {
    QList<AssociationRow> rows;
    for (const QByteArray& genre : genres) {
        const QByteArrayList files = FindFiles(store.genreFolder(genre), QByteArrayLiteral("*.lvn"),
                                               FindOptions{}, GettingFilesCaptions(captions));
        for (const QByteArray& file : files)
            rows.append({BaseFileName(file), genre});
    }
    return rows;
}

void SaveAssociationFile(const QByteArray& fileName, const QList<AssociationRow>& rows) {
    const QByteArray folder = fileName.left(fileName.lastIndexOf('/') + 1);
    const DatabaseLock::Hold hold = DatabaseLock(folder).hold();
    removeOldTemporaries(folder);
    const bool existed = ArtistFile::exists(fileName);
    int rc = SQLITE_OK;
    {
        Connection c;
        rc = sqlite3_open_v2(fileName.constData(), &c.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc == SQLITE_OK) {
            try {
                writeTable(c, rows);
            } catch (int failed) {
                rc = failed;
            }
        }
    }
    if (rc == SQLITE_OK)
        return;
    // A file that is not a database has no SQLite lock to respect: a new table takes
    // its place as a whole, filled beside it and renamed over it.
    if ((rc & 0xFF) == SQLITE_NOTADB) {
        const QByteArray temp = reserveTemporary(folder);
        if (temp.isEmpty())
            throw StoreError::cannotCreate(fileName);
        {
            Connection c;
            rc = sqlite3_open_v2(temp.constData(), &c.db, SQLITE_OPEN_READWRITE, nullptr);
            if (rc == SQLITE_OK) {
                try {
                    writeTable(c, rows);
                } catch (int failed) {
                    rc = failed;
                }
            }
        }
        if (rc != SQLITE_OK || ::rename(temp.constData(), fileName.constData()) != 0) {
            ::unlink(temp.constData());
            throw StoreError::cannotCreate(fileName);
        }
        return;
    }
    // A file this save created holds no table; left behind, it would stop every add run.
    if (!existed)
        ::unlink(fileName.constData());
    if (isBusy(rc))
        throw StoreError(QStringLiteral("Cannot write the association file %1: database is locked")
                             .arg(DisplayText(fileName)));
    throw StoreError::cannotCreate(fileName);
}

QList<AssociationRow> LoadAssociationFile(const QByteArray& fileName) {
    Connection c;
    // A save killed half-way leaves its journal, which only a connection that may write
    // can roll back; a read-only one would fail on every read until the next save.
    struct stat journal {};
    const bool recover = ::stat((fileName + "-journal").constData(), &journal) == 0 &&
                         S_ISREG(journal.st_mode) && journal.st_size > 0;
    if (recover &&
        sqlite3_open_v2(fileName.constData(), &c.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(c.db);
        c.db = nullptr;
    }
    if (!c.db &&
        sqlite3_open_v2(fileName.constData(), &c.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw unreadable(fileName, c.error());
    // A save in progress holds SQLite's lock for a moment; wait for it instead of failing.
    sqlite3_busy_timeout(c.db, BusyTimeoutMs);
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
