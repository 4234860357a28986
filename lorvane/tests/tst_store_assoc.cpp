// The association file and its use while adding: save, load, lookup, and the round of
// save, purge and rescan, through the core and through lorvane-probe.
#include "store/ArtistStore.h"
#include "store/Associations.h"
#include "store/Scanner.h"
#include "store/StoreError.h"
#include "support/Fixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>

using namespace lorvane;
using coretest::pathExists;
using coretest::readBytes;
using coretest::snapshot;
using coretest::writeBytes;

using Rows = QList<AssociationRow>;
Q_DECLARE_METATYPE(Rows)

namespace {

// Runs SQL on a database file, for files that another tool has made.
void execSql(const QByteArray& file, const char* sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(file.constData(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

QByteArray repeated(const char* piece, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

class TestAssoc : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void roundTrip_data() {
        QTest::addColumn<Rows>("saved");
        QTest::addColumn<Rows>("loaded");
        QTest::newRow("no rows") << Rows{} << Rows{};
        QTest::newRow("save order, one artist twice")
            << Rows{{"Zed", "Blues"}, {"abba", "Pop"}, {"Zed", "Rock"}}
            << Rows{{"Zed", "Blues"}, {"abba", "Pop"}, {"Zed", "Rock"}};
        QTest::newRow("bytes that are not UTF-8")
            << Rows{{"Caf\xe9", "Chanson \xff"}} << Rows{{"Caf\xe9", "Chanson \xff"}};
        QTest::newRow("cut to 100 characters, not bytes")
            << Rows{{repeated("\xc3\xa9", 120), repeated("g", 101)}}
            << Rows{{repeated("\xc3\xa9", 100), repeated("g", 100)}};
        QTest::newRow("100 characters stay whole")
            << Rows{{repeated("a", 100), "x"}} << Rows{{repeated("a", 100), "x"}};
    }
    void roundTrip() {
        QFETCH(Rows, saved);
        QFETCH(Rows, loaded);
        const QByteArray file = path("lorvane.gen");
        SaveAssociationFile(file, saved);
        QCOMPARE(LoadAssociationFile(file), loaded);
        // Nothing but the file itself is left in the folder.
        QCOMPARE(snapshot(path("")).keys(), QList<QByteArray>({"lorvane.gen"}));
    }

    void aSaveReplacesTheWholeFile() {
        const QByteArray file = path("lorvane.gen");
        SaveAssociationFile(file, {{"a", "One"}, {"b", "Two"}});
        SaveAssociationFile(file, {{"c", "Three"}});
        QCOMPARE(LoadAssociationFile(file), Rows({{"c", "Three"}}));
    }

    void aFailedSaveLeavesNoTrace() {
        // The name is taken by a folder: the new table cannot be renamed into place.
        writeBytes(path("lorvane.gen/keep"), "x");
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 SaveAssociationFile(path("lorvane.gen"), {{"a", "B"}}));
        QCOMPARE(snapshot(path("")).keys(), QList<QByteArray>({"lorvane.gen", "lorvane.gen/keep"}));
        try {
            SaveAssociationFile(path("missing/lorvane.gen"), {});
            QFAIL("saved into a missing folder");
        } catch (const StoreError& e) {
            QCOMPARE(e.message(), QStringLiteral("Cannot create file %1")
                                      .arg(QString::fromUtf8(path("missing/lorvane.gen"))));
        }
    }

    // Another connection's write transaction is waited for, then the save gives up
    // without touching the rows; the file is never replaced under a connection.
    void aSaveRespectsSQLiteLocks() {
        const QByteArray file = path("lorvane.gen");
        SaveAssociationFile(file, {{"a", "Old"}});
        writeBytes(path(".lorvane.gen-k1ll3d00"), "left by a killed save");
        struct stat before {};
        QVERIFY(::stat(file.constData(), &before) == 0);
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(file.constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other,
                              "BEGIN IMMEDIATE; INSERT INTO GenreAssociations VALUES "
                              "('x', 'Pending')",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        QString error;
        try {
            SaveAssociationFile(file, {{"b", "New"}});
        } catch (const StoreError& e) {
            error = e.message();
        }
        QCOMPARE(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        QCOMPARE(error, QStringLiteral("Cannot write the association file %1: database is locked")
                            .arg(QString::fromUtf8(file)));
        QCOMPARE(LoadAssociationFile(file), Rows({{"a", "Old"}}));
        SaveAssociationFile(file, {{"b", "New"}});
        QCOMPARE(LoadAssociationFile(file), Rows({{"b", "New"}}));
        struct stat after {};
        QVERIFY(::stat(file.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(snapshot(path("")).keys(), QList<QByteArray>({"lorvane.gen"}));
    }

    void unreadableFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("sql");
        QTest::newRow("text") << QByteArray("Artist,Genre\r\nZed,Rock\r\n") << QByteArray();
        QTest::newRow("empty file") << QByteArray() << QByteArray();
        QTest::newRow("database without the table")
            << QByteArray() << QByteArray("CREATE TABLE other (x TEXT)");
        QTest::newRow("table without the fields")
            << QByteArray() << QByteArray("CREATE TABLE GenreAssociations (Name TEXT)");
    }
    void unreadableFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, sql);
        const QByteArray file = path("lorvane.gen");
        writeBytes(file, content);
        if (!sql.isEmpty())
            execSql(file, sql.constData());
        try {
            LoadAssociationFile(file);
            QFAIL("an unreadable file loaded");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(QString::fromUtf8(file)), qPrintable(e.message()));
        }
        Associations source(file, [] { return true; });
        QVERIFY_THROWS_EXCEPTION(StoreError, source.LoadAssociations());
    }

    void loadsOnlyWhenTickedAndPresent() {
        const QByteArray file = path("lorvane.gen");
        bool ticked = true;
        Associations source(file, [&ticked] { return ticked; });
        QVERIFY(!source.LoadAssociations()); // no file
        writeBytes(file, "not a table");
        ticked = false;
        QVERIFY(!source.LoadAssociations()); // not even read
        SaveAssociationFile(file, {{"Zed", "Rock"}});
        ticked = true;
        const auto table = source.LoadAssociations();
        QVERIFY(table);
        QCOMPARE(table->genreOf("Zed"), std::optional<QByteArray>("Rock"));
    }

    void lookup_data() {
        QTest::addColumn<QByteArray>("artist");
        QTest::addColumn<QByteArray>("genre");
        QTest::newRow("exact") << QByteArray("SOME BAND") << QByteArray("Metal");
        QTest::newRow("other letter case") << QByteArray("some band") << QByteArray();
        QTest::newRow("no partial match") << QByteArray("SOME") << QByteArray();
        QTest::newRow("first row wins") << QByteArray("Twice") << QByteArray("First");
        QTest::newRow("a row leading out of the database is ignored")
            << QByteArray("Escape") << QByteArray("Kept");
        QTest::newRow("dot-dot genre") << QByteArray("Dots") << QByteArray();
    }
    void lookup() {
        QFETCH(QByteArray, artist);
        QFETCH(QByteArray, genre);
        const AssociationTable table({{"SOME BAND", "Metal"},
                                      {"Twice", "First"},
                                      {"Twice", "Second"},
                                      {"Escape", "../../outside"},
                                      {"Escape", "Kept"},
                                      {"Dots", ".."}});
        const std::optional<QByteArray> found = table.genreOf(artist);
        QCOMPARE(found.value_or(QByteArray()), genre);
    }

    void collectsGenresInTheGivenOrder() {
        ArtistStore store(path(""));
        writeBytes(path("LVNDB/Rock/Zep.lvn"), "a\r\n");
        writeBytes(path("LVNDB/Blues/Muddy.lvn"), "b\r\n");
        writeBytes(path("LVNDB/Blues/notes.txt"), "c");
        writeBytes(path("LVNDB/Blues/sub/Deep.lvn"), "d\r\n");
        writeBytes(path("LVNDB/jazz/"));
        const Rows rows = CollectAssociations(store, {"Blues", "jazz", "Rock"});
        // An empty genre adds no row; sub-folders are not searched.
        QCOMPARE(rows, Rows({{"Muddy", "Blues"}, {"Zep", "Rock"}}));
    }

    // Save, purge, rescan: with the option on a known artist goes back to its genre,
    // even one whose folder has gone meanwhile; with it off everything is "Unknown".
    void saveThenPurgeThenRescan_data() {
        QTest::addColumn<bool>("use");
        QTest::newRow("option on") << true;
        QTest::newRow("option off") << false;
    }
    void saveThenPurgeThenRescan() {
        QFETCH(bool, use);
        ArtistStore store(path(""));
        store.createDbFolder();
        writeBytes(path("music/Some Band - One.mp3"));
        writeBytes(path("music/Lonely - Two.mp3"));
        writeBytes(path("music/New - Three.mp3"));
        writeBytes(path("LVNDB/Rock/Some Band.lvn"), path("music/Some Band - One.mp3") + "\r\n");
        writeBytes(path("LVNDB/Gone/Lonely.lvn"), path("music/Lonely - Two.mp3") + "\r\n");
        SaveAssociationFile(path("lorvane.gen"), CollectAssociations(store, {"Gone", "Rock"}));
        store.PurgeDB();
        QVERIFY(::rmdir(path("LVNDB/Gone").constData()) == 0);

        Associations source(path("lorvane.gen"), [use] { return use; });
        Scanner scanner(store);
        NamePatterns patterns;
        const OrganizeResult r = scanner.AddFromFolder(path("music/"), true, patterns, "", &source);
        QCOMPARE(r.error, QString());
        QCOMPARE(r.added, 3);
        const QByteArray db = path("LVNDB/");
        QCOMPARE(pathExists(db + "Rock/Some Band.lvn"), use);
        QCOMPARE(pathExists(db + "Gone/Lonely.lvn"), use);
        QCOMPARE(pathExists(db + "Unknown/Some Band.lvn"), !use);
        QVERIFY(pathExists(db + "Unknown/New.lvn"));
        QCOMPARE(r.genresCreated.contains("Gone"), use);
    }

    void anUnreadableFileStopsTheRunBeforeAnySong() {
        ArtistStore store(path(""));
        store.createDbFolder();
        writeBytes(path("music/Some Band - One.mp3"));
        writeBytes(path("lorvane.gen"), "garbage that is no database at all");
        Associations source(path("lorvane.gen"), [] { return true; });
        Scanner scanner(store);
        const OrganizeResult r =
            scanner.AddFromFolder(path("music/"), true, NamePatterns(), "", &source);
        QVERIFY(r.error.contains(QString::fromUtf8(path("lorvane.gen"))));
        QCOMPARE(r.processed, 0);
        QCOMPARE(snapshot(path("LVNDB")), (QMap<QByteArray, QByteArray>{}));
    }

    void probe() {
        const QString probe =
            qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe");
        if (!QFile::exists(probe))
            QSKIP("lorvane-probe is not built");
        writeBytes(path("music/Zed - One.mp3"));
        writeBytes(path("music/abba - Two.mp3"));
        writeBytes(path("LVNDB/rock/Zed.lvn"), path("music/Zed - One.mp3") + "\r\n");
        writeBytes(path("LVNDB/Blues/Zed.lvn"), path("music/Zed - One.mp3") + "\r\n");
        writeBytes(path("LVNDB/Pop/abba.lvn"), path("music/abba - Two.mp3") + "\r\n");
        auto run = [&](const QStringList& args, QByteArray* out = nullptr) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LORVANE_HOME"), QString::fromUtf8(path("")));
            p.setProcessEnvironment(env);
            p.start(probe, args);
            if (!p.waitForFinished(30000))
                return -1;
            if (out)
                *out = p.readAllStandardOutput();
            return p.exitCode();
        };
        QByteArray out;
        QCOMPARE(run({"assoc", "save"}, &out), 0);
        QCOMPARE(out, QByteArray("3\n"));
        QCOMPARE(run({"assoc", "show"}, &out), 0);
        // Genres in the list's order (letter case ignored).
        QCOMPARE(out, QByteArray("Zed\tBlues\nabba\tPop\nZed\trock\n"));

        for (const char* f : {"LVNDB/rock/Zed.lvn", "LVNDB/Blues/Zed.lvn", "LVNDB/Pop/abba.lvn"})
            QVERIFY(::unlink(path(f).constData()) == 0);
        QCOMPARE(run({"scan", "--dash", "--use-associations", QString::fromUtf8(path("music"))}),
                 0);
        QVERIFY(pathExists(path("LVNDB/Blues/Zed.lvn")));
        QVERIFY(pathExists(path("LVNDB/Pop/abba.lvn")));
        QVERIFY(!pathExists(path("LVNDB/Unknown")));

        writeBytes(path("lorvane.gen"), "broken");
        QCOMPARE(run({"assoc", "show"}), 1);
        QCOMPARE(run({"scan", "--dash", "--use-associations", QString::fromUtf8(path("music"))}),
                 1);
        QCOMPARE(run({"scan", "--dash", QString::fromUtf8(path("music"))}), 0);
    }

private:
    QByteArray path(const QByteArray& relative) const {
        return QFile::encodeName(m_dir->path()) + '/' + relative;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAssoc)
#include "tst_store_assoc.moc"
