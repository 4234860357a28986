#include "files/DataHome.h"
#include "files/FindFiles.h"
#include "store/ArtistStore.h"
#include "store/AssociationSource.h"
#include "store/Associations.h"
#include "store/Counts.h"
#include "store/GenreFolders.h"
#include "store/SongFileOps.h"
#include "store/StoreError.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lorvane;
using coretest::pathExists;
using coretest::readBytes;
using coretest::writeBytes;

namespace {

// A fixed table standing in for the association file, which only the lookup reads here.
class TableLookup : public AssociationLookup {
public:
    explicit TableLookup(QList<QPair<QByteArray, QByteArray>> rows) : m_rows(std::move(rows)) {}
    std::optional<QByteArray> genreOf(const QByteArray& artist) const override {
        for (const auto& row : m_rows) {
            if (row.first == artist)
                return row.second;
        }
        return std::nullopt;
    }

private:
    QList<QPair<QByteArray, QByteArray>> m_rows;
};

} // namespace

class TestStoreArtists : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void duplicates_data();
    void duplicates();
    void existingFileFoundRegardlessOfCase_data();
    void existingFileFoundRegardlessOfCase();
    void firstGenreInListingOrderWins();
    void unknownGenreCreatedOnce();
    void associationGenre();
    void artistListUpdate_data();
    void artistListUpdate();
    void readsAnyLineEndWritesCrLf();
    void emptyArtistAndEmptyLines();
    void nonUtf8RoundTrip();
    void cannotCreateFile_data();
    void cannotCreateFile();
    void fileProtectionKept();
    void lineIndexSurvivesSorting();
    void deleteSong();
    void deleteSongFile_data();
    void deleteSongFile();
    void cleanArtist();
    void deleteArtistPurgeAndEntries();
    void purgeStaysInsideTheDatabase();
    void hostileDataHome_data();
    void hostileDataHome();
    void manualAddStoresTwice();
    void dataHome();

private:
    ArtistStore store() const { return ArtistStore(m_dir->path().toUtf8()); }
    QByteArray db() const { return m_dir->path().toUtf8() + "/LVNDB/"; }

    std::unique_ptr<QTemporaryDir> m_dir;
    NamePatterns m_patterns; // Bracket and Dash on, as designed
};

void TestStoreArtists::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(store().createDbFolder());
}

void TestStoreArtists::cleanup() {
    // QTemporaryDir cannot remove names that are not UTF-8.
    coretest::removeTree(m_dir->path().toUtf8());
}

void TestStoreArtists::duplicates_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<int>("lines");
    QTest::newRow("same path") << QByteArray("/mp3/a-b.mp3") << QByteArray("/mp3/a-b.mp3") << 1;
    QTest::newRow("ASCII case") << QByteArray("/MP3/a-b.mp3") << QByteArray("/mp3/A-B.MP3") << 1;
    // Only ASCII letters fold: É and é are different paths.
    QTest::newRow("non-ASCII case")
        << QByteArray("/m/\xc3\x89-x.mp3") << QByteArray("/m/\xc3\xa9-x.mp3") << 2;
}

void TestStoreArtists::duplicates() {
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(int, lines);
    ArtistStore s = store();
    QVERIFY(s.AddSong(first, m_patterns, "", true).artistFileCreated);
    const AddSongResult again = s.AddSong(second, m_patterns, "", true);
    QVERIFY(again.error.isEmpty());
    QCOMPARE(again.duplicate, lines == 1);
    const QByteArray file = s.artistFile("Unknown", ParseArtist(first, m_patterns));
    QCOMPARE(readBytes(file).count("\r\n"), lines);
}

void TestStoreArtists::existingFileFoundRegardlessOfCase_data() {
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QByteArray>("song");
    QTest::newRow("ASCII") << QByteArray("SOME BAND.lvn") << QByteArray("/m/some band - x.mp3");
    QTest::newRow("extension") << QByteArray("Some Band.LVN") << QByteArray("/m/Some Band - x.mp3");
    QTest::newRow("full folding") << QByteArray("STRASSE.lvn")
                                  << QByteArray("/m/stra\xc3\x9f"
                                                "e - x.mp3");
    QTest::newRow("Greek") << QByteArray("\xce\xa3\xce\x99\xce\xa3.lvn")
                           << QByteArray("/m/\xcf\x83\xce\xb9\xcf\x82 - x.mp3");
}

void TestStoreArtists::existingFileFoundRegardlessOfCase() {
    QFETCH(QByteArray, existing);
    QFETCH(QByteArray, song);
    writeBytes(db() + "Pop/" + existing, "/old.mp3\r\n");
    const AddSongResult r = store().AddSong(song, m_patterns, "Pop", true);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.genre, QByteArray("Pop"));
    QVERIFY(!r.artistFileCreated);
    QVERIFY(!r.genreFolderCreated);
    QCOMPARE(readBytes(db() + "Pop/" + existing), "/old.mp3\r\n" + song + "\r\n");
    QCOMPARE(store().genres(), QByteArrayList{"Pop"}); // no "Unknown"
}

void TestStoreArtists::firstGenreInListingOrderWins() {
    for (const char* genre : {"Rock", "Pop", "Jazz", "Blues"})
        writeBytes(db() + genre + "/Band.lvn", "/x.mp3\r\n");
    const QByteArray first = store().genres().first();
    const AddSongResult r = store().AddSong("/m/Band - y.mp3", m_patterns, "", true);
    QCOMPARE(r.genre, first);
    QCOMPARE(readBytes(db() + first + "/Band.lvn"), QByteArray("/x.mp3\r\n/m/Band - y.mp3\r\n"));
}

void TestStoreArtists::unknownGenreCreatedOnce() {
    ArtistStore s = store();
    const AddSongResult a = s.AddSong("/m/One - a.mp3", m_patterns, "", true);
    QVERIFY(a.genreFolderCreated);
    QCOMPARE(a.genre, QByteArray("Unknown"));
    const AddSongResult b = s.AddSong("/m/Two - b.mp3", m_patterns, "", true);
    QVERIFY(!b.genreFolderCreated);
    QVERIFY(b.artistFileCreated);
    QCOMPARE(s.genres(), QByteArrayList{"Unknown"});

    // A genre folder in another letter case is the same genre.
    QTemporaryDir other;
    ArtistStore t(other.path().toUtf8());
    t.createDbFolder();
    writeBytes(t.dbFolder() + "unknown/keep.txt");
    const AddSongResult c = t.AddSong("/m/Three - c.mp3", m_patterns, "", true);
    QVERIFY(!c.genreFolderCreated);
    QCOMPARE(c.genre, QByteArray("unknown"));
    QVERIFY(pathExists(t.dbFolder() + "unknown/Three.lvn"));
}

void TestStoreArtists::associationGenre() {
    const TableLookup table({{"some band", "Lower"}, {"Some Band", "Rock"}, {"Other", "Jazz"}});
    writeBytes(db() + "jazz/keep.txt");
    ArtistStore s = store();
    const AddSongResult a = s.AddSong("/m/Some Band - x.mp3", m_patterns, "Rock", true, &table);
    QCOMPARE(a.genre, QByteArray("Rock"));
    QVERIFY(a.genreFolderCreated);
    QVERIFY(a.showInArtistList);
    // The remembered genre exists in another case: it is used, not created again.
    const AddSongResult b = s.AddSong("/m/Other - y.mp3", m_patterns, "Rock", true, &table);
    QCOMPARE(b.genre, QByteArray("jazz"));
    QVERIFY(!b.genreFolderCreated);
    // An artist with a file anywhere never asks the table.
    const AddSongResult c = s.AddSong("/m/other - z.mp3", m_patterns, "", true, &table);
    QCOMPARE(c.genre, QByteArray("jazz"));
    QCOMPARE(readBytes(db() + "jazz/Other.lvn"),
             QByteArray("/m/Other - y.mp3\r\n/m/other - z.mp3\r\n"));
}

void TestStoreArtists::artistListUpdate_data() {
    QTest::addColumn<bool>("updateList");
    QTest::addColumn<QByteArray>("selected");
    QTest::addColumn<bool>("shown");
    QTest::newRow("selected genre") << true << QByteArray("Unknown") << true;
    QTest::newRow("no update asked") << false << QByteArray("Unknown") << false;
    QTest::newRow("other genre") << true << QByteArray("Pop") << false;
    QTest::newRow("case differs") << true << QByteArray("unknown") << false;
    QTest::newRow("nothing selected") << true << QByteArray() << false;
}

void TestStoreArtists::artistListUpdate() {
    QFETCH(bool, updateList);
    QFETCH(QByteArray, selected);
    QFETCH(bool, shown);
    ArtistStore s = store();
    const AddSongResult r = s.AddSong("/m/New - a.mp3", m_patterns, selected, updateList);
    QVERIFY(r.artistFileCreated);
    QCOMPARE(r.showInArtistList, shown);
    // A second song of the same artist creates nothing, so nothing is to be listed.
    QVERIFY(!s.AddSong("/m/New - b.mp3", m_patterns, selected, updateList).showInArtistList);
}

void TestStoreArtists::readsAnyLineEndWritesCrLf() {
    writeBytes(db() + "Pop/Band.lvn", "/Band-a\n/Band-b\r/Band-c\r\n/Band-d");
    ArtistStore s = store();
    QCOMPARE(s.ListSongs("Pop", "Band", m_patterns).size(), 4);
    QCOMPARE(s.SongPathOf("Pop", "Band", 3), QByteArray("/Band-d"));
    // Filing a duplicate writes the file back with CR LF line ends.
    QVERIFY(s.AddSong("/BAND-B", m_patterns, "", true).duplicate);
    QCOMPARE(readBytes(db() + "Pop/Band.lvn"),
             QByteArray("/Band-a\r\n/Band-b\r\n/Band-c\r\n/Band-d\r\n"));
    QVERIFY(s.AddSong("/Band-e", m_patterns, "", true).error.isEmpty());
    QVERIFY(readBytes(db() + "Pop/Band.lvn").endsWith("/Band-d\r\n/Band-e\r\n"));
}

void TestStoreArtists::emptyArtistAndEmptyLines() {
    ArtistStore s = store();
    const AddSongResult r = s.AddSong("/m/_ _-Song.mp3", m_patterns, "", true);
    // A blank artist would make the hidden file ".lvn".
    QCOMPARE(r.artist, QByteArray(UnknownArtist));
    QVERIFY(!pathExists(db() + "Unknown/.lvn"));
    QCOMPARE(s.SongPathOf("Unknown", UnknownArtist, 0), QByteArray("/m/_ _-Song.mp3"));

    writeBytes(db() + "Unknown/Gap.lvn", "\r\n/m/Gap - x.mp3\r\n");
    const QList<SongEntry> songs = s.ListSongs("Unknown", "Gap", m_patterns);
    QCOMPARE(songs.size(), 2);
    QCOMPARE(songs[0].title, QByteArray());
    QVERIFY(!s.AddSong("/m/Gap - y.mp3", m_patterns, "", true).duplicate);
}

void TestStoreArtists::nonUtf8RoundTrip() {
    const QByteArray path = "/m/\xff\xfe Band - T\xe9.mp3";
    ArtistStore s = store();
    const AddSongResult r = s.AddSong(path, m_patterns, "Unknown", true);
    QCOMPARE(r.artist, QByteArray("\xff\xfe Band"));
    QVERIFY(pathExists(db() + "Unknown/\xff\xfe Band.lvn"));
    QCOMPARE(s.ListArtists("Unknown"), QByteArrayList{r.artist});
    QCOMPARE(s.ListSongs("Unknown", r.artist, m_patterns).first().title, QByteArray("T\xe9"));
    QCOMPARE(s.SongPathOf("Unknown", r.artist, 0), path);
    // Its ASCII letters still match regardless of case.
    QVERIFY(!s.AddSong("/m/\xff\xfe BAND - x.mp3", m_patterns, "", true).artistFileCreated);
}

void TestStoreArtists::cannotCreateFile_data() {
    QTest::addColumn<QByteArray>("song");
    QTest::addColumn<bool>("unknownIsAFile");
    QTest::newRow("name too long")
        << QByteArray("/m/" + QByteArray(300, 'x') + " - a.mp3") << false;
    QTest::newRow("genre folder cannot be made") << QByteArray("/m/Band - a.mp3") << true;
}

void TestStoreArtists::cannotCreateFile() {
    QFETCH(QByteArray, song);
    QFETCH(bool, unknownIsAFile);
    if (unknownIsAFile)
        writeBytes(db() + "Unknown", "not a folder");
    const AddSongResult r = store().AddSong(song, m_patterns, "", true);
    QVERIFY(r.error.startsWith(QStringLiteral("Cannot create file ")));
    QVERIFY(r.error.endsWith(QStringLiteral(".lvn")));
    QVERIFY(!r.artistFileCreated);
    // Nothing half-written stays behind.
    for (const QByteArray& entry : coretest::snapshot(db()).keys())
        QVERIFY2(!entry.contains(".lvn-"), entry.constData());
}

// Writing an artist file anew keeps what the user set on it: its mode, a link to where it
// really lies, and a missing write permission, which refuses the write.
void TestStoreArtists::fileProtectionKept() {
    const QByteArray home = m_dir->path().toUtf8();
    writeBytes(db() + "Unknown/Band.lvn", "/m/Band - one.mp3\r\n");
    QVERIFY(::chmod(db() + "Unknown/Band.lvn", 0640) == 0);
    writeBytes(home + "/elsewhere/real.lvn", "/m/Linked - one.mp3\r\n");
    QVERIFY(::symlink("../../elsewhere/real.lvn", db() + "Unknown/Linked.lvn") == 0);
    QVERIFY(store().AddSong("/m/Band - two.mp3", m_patterns, "", false).error.isEmpty());
    QVERIFY(store().AddSong("/m/Linked - two.mp3", m_patterns, "", false).error.isEmpty());
    struct stat st {};
    QVERIFY(::stat(db() + "Unknown/Band.lvn", &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QVERIFY(::lstat(db() + "Unknown/Linked.lvn", &st) == 0 && S_ISLNK(st.st_mode));
    QCOMPARE(readBytes(home + "/elsewhere/real.lvn"),
             QByteArray("/m/Linked - one.mp3\r\n/m/Linked - two.mp3\r\n"));

    const QByteArray locked = db() + "Unknown/Locked.lvn";
    writeBytes(locked, "/m/Locked - one.mp3\r\n");
    QVERIFY(::chmod(locked, 0444) == 0);
    QString error;
    if (::geteuid() != 0) {
        error = store().AddSong("/m/Locked - two.mp3", m_patterns, "", false).error;
    } else {
        // Root may write any file: the refusal shows only for an ordinary user.
        const QString probe =
            qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe");
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty() ||
            !QFile::exists(probe))
            QSKIP("running as root without setpriv or lorvane-probe to act as another user");
        writeBytes(home + "/music/Locked - two.mp3");
        // nobody may not pass into the build tree (a clone in a 0700 home): a copy of the
        // probe in the test's own folder runs instead.
        const QString probeCopy = QString::fromUtf8(home) + QStringLiteral("/lorvane-probe");
        QVERIFY(QFile::copy(probe, probeCopy));
        QProcess chown;
        chown.start(QStringLiteral("chown"),
                    {QStringLiteral("-R"), QStringLiteral("nobody"), QString::fromUtf8(home)});
        QVERIFY(chown.waitForFinished(30000) && chown.exitCode() == 0);
        QProcess scan;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LORVANE_HOME"), QString::fromUtf8(home));
        scan.setProcessEnvironment(env);
        scan.start(QStringLiteral("setpriv"),
                   {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                    QStringLiteral("--clear-groups"), probeCopy, QStringLiteral("scan"),
                    QStringLiteral("--dash"), QString::fromUtf8(home + "/music")});
        QVERIFY(scan.waitForFinished(30000));
        QCOMPARE(scan.exitCode(), 1);
        error = QString::fromUtf8(scan.readAllStandardError()).trimmed();
    }
    QCOMPARE(error, QStringLiteral("Cannot create file ") + QString::fromUtf8(locked));
    QCOMPARE(readBytes(locked), QByteArray("/m/Locked - one.mp3\r\n"));
    QVERIFY(::stat(locked, &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0444u);
}

void TestStoreArtists::lineIndexSurvivesSorting() {
    writeBytes(db() + "Pop/Band.lvn", "/m/Band - c.mp3\r\n/m/Band - a.mp3\r\n/m/Band - b.mp3\r\n");
    ArtistStore s = store();
    QList<SongEntry> songs = s.ListSongs("Pop", "Band", m_patterns);
    std::sort(songs.begin(), songs.end(),
              [](const SongEntry& x, const SongEntry& y) { return x.title < y.title; });
    for (const SongEntry& song : songs)
        QCOMPARE(BaseFileName(s.SongPathOf("Pop", "Band", song.lineIndex)), "Band - " + song.title);
    QCOMPARE(s.SongPathOf("Pop", "Band", -1), QByteArray("null"));
    writeBytes(db() + "Pop/Band.lvn", "/m/Band - c.mp3\r\n"); // shortened by another program
    QCOMPARE(s.SongPathOf("Pop", "Band", 2), QByteArray("null"));
    QCOMPARE(s.SongPathOf("Pop", "Nobody", 0), QByteArray());
}

void TestStoreArtists::deleteSong() {
    writeBytes(db() + "Pop/Band.lvn", "/a\r\n/b\n/c\r\n");
    ArtistStore s = store();
    DeleteSongResult r = s.DeleteSongFromDB("Pop", "Band", 1);
    QVERIFY(r.fileFound && !r.artistFileDeleted && r.error.isEmpty());
    QCOMPARE(readBytes(db() + "Pop/Band.lvn"), QByteArray("/a\r\n/c\r\n"));
    QVERIFY(!s.DeleteSongFromDB("Pop", "Band", 0).artistFileDeleted);
    r = s.DeleteSongFromDB("Pop", "Band", 0);
    QVERIFY(r.artistFileDeleted);
    QVERIFY(!pathExists(db() + "Pop/Band.lvn"));
    QVERIFY(!s.DeleteSongFromDB("Pop", "Band", 0).fileFound);
}

// The file goes first; its line goes only if it still names that file.
void TestStoreArtists::deleteSongFile_data() {
    QTest::addColumn<QByteArray>("lines"); // the artist file at F4 on line 1; {s} the song
    QTest::addColumn<bool>("fileStays");   // a folder with a file in it in the song's place
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("deleted") << QByteArray("/a\r\n{s}\r\n") << false << QByteArray("/a\r\n");
    QTest::newRow("line changed meanwhile")
        << QByteArray("{s}\r\n/b\r\n") << false << QByteArray("{s}\r\n/b\r\n");
    QTest::newRow("file stays") << QByteArray("/a\r\n{s}\r\n") << true
                                << QByteArray("/a\r\n{s}\r\n");
}

void TestStoreArtists::deleteSongFile() {
    QFETCH(QByteArray, lines);
    QFETCH(bool, fileStays);
    const QByteArray song = m_dir->path().toUtf8() + "/Band - Song.mp3";
    writeBytes(fileStays ? song + "/inside" : song);
    writeBytes(db() + "Pop/Band.lvn", lines.replace("{s}", song));
    ArtistStore s = store();
    const DeleteSongFileResult r = DeleteSongFile(s, "Pop", "Band", 1, song);
    QCOMPARE(r.fileDeleted, !fileStays);
    QCOMPARE(pathExists(song), fileStays);
    QCOMPARE(r.error.isEmpty(), !fileStays);
    QTEST(readBytes(db() + "Pop/Band.lvn").replace(song, "{s}"), "after");
}

void TestStoreArtists::cleanArtist() {
    const QByteArray here = m_dir->path().toUtf8() + "/here.mp3";
    writeBytes(here);
    writeBytes(db() + "Pop/Band.lvn",
               "/gone/1.mp3\r\n/gone/2.mp3\r\n" + here + "\r\n\r\n/gone/3\r\n");
    ArtistStore s = store();
    CleanArtistResult r = s.CleanArtist("Pop", "band");
    QCOMPARE(r.removedLines, 4);
    QVERIFY(!r.artistFileDeleted);
    QCOMPARE(readBytes(db() + "Pop/Band.lvn"), here + "\r\n");
    QFile::remove(QString::fromUtf8(here));
    r = s.CleanArtist("Pop", "Band");
    QVERIFY(r.artistFileDeleted);
    QVERIFY(!pathExists(db() + "Pop/Band.lvn"));
}

void TestStoreArtists::deleteArtistPurgeAndEntries() {
    ArtistStore s = store();
    for (const char* song : {"/m/A - 1.mp3", "/m/B - 2.mp3", "/m/C - 3.mp3"})
        s.AddSong(song, m_patterns, "", true);
    writeBytes(db() + "Pop/D.lvn", "/d\r\n");
    writeBytes(db() + "Pop/notes.txt", "x");
    QVERIFY(!s.AddArtistEntry("Pop", "d"));
    QVERIFY(s.AddArtistEntry("Pop", "E"));
    QVERIFY(!s.AddArtistEntry("", "E"));
    QVERIFY(!s.DeleteArtist("Pop", "../Unknown/A")); // a typed name never leaves its genre
    QVERIFY(s.AddArtistEntry("Pop", "../Unknown/A"));
    QVERIFY(!s.ManualAddSongs("Pop", "../Unknown/A", {"/x.mp3"}).error.isEmpty());
    QCOMPARE(readBytes(db() + "Unknown/A.lvn"), QByteArray("/m/A - 1.mp3\r\n"));
    QVERIFY(s.DeleteArtist("Unknown", "a"));
    QVERIFY(!s.DeleteArtist("Unknown", "A"));
    QCOMPARE(s.PurgeDB(), 3);
    const auto left = coretest::snapshot(db());
    QCOMPARE(left.keys(), (QByteArrayList{"Pop", "Pop/notes.txt", "Unknown"}));
}

void TestStoreArtists::purgeStaysInsideTheDatabase() {
    // A genre folder that links to a folder elsewhere must not lead the purge there.
    const QByteArray outside = m_dir->path().toUtf8() + "/elsewhere/";
    QVERIFY(QDir().mkpath(QString::fromUtf8(outside)));
    writeBytes(outside + "Keep.lvn", "/k.mp3\r\n");
    writeBytes(db() + "Pop/A.lvn", "/a.mp3\r\n");
    QVERIFY(::symlink(outside.constData(), (db() + "Linked").constData()) == 0);
    QVERIFY(::symlink(outside.constData(), (db() + "Pop/sub").constData()) == 0);
    ArtistStore s = store();
    QCOMPARE(s.PurgeDB(), 1);
    QVERIFY(pathExists(outside + "Keep.lvn"));
    QVERIFY(!pathExists(db() + "Pop/A.lvn"));
    // An ordinary scan still follows links.
    QCOMPARE(FindFiles(db(), "*.lvn", FindOptions{.recurse = true}).size(), 1);
}

// A save of many rows killed once it writes into the file (its journal is complete on
// disk then): the next reader rolls the journal back and reads the rows saved before.
static bool loadAKilledSave(const QByteArray& file) {
    SaveAssociationFile(file, {{"Old", "Pop"}});
    const qint64 before = QFileInfo(QString::fromUtf8(file)).size();
    QList<AssociationRow> many(400000, {"Artist", "Genre"});
    const pid_t child = ::fork();
    if (child == 0) {
        SaveAssociationFile(file, many);
        ::_exit(0);
    }
    while (QFileInfo(QString::fromUtf8(file)).size() == before &&
           ::waitpid(child, nullptr, WNOHANG) == 0)
        ::usleep(1000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    try {
        return LoadAssociationFile(file) == QList<AssociationRow>{{"Old", "Pop"}};
    } catch (const StoreError&) {
        return false;
    }
}

// A data home whose genre "Linked" and artist file "Pop/Alias.lvn" are links to a folder
// elsewhere, whose lock is a dangling link, with a damaged artist file and a killed save:
// no command deletes, moves or creates anything elsewhere.
using HostileCommand = bool (*)(ArtistStore&, const QByteArray& home);
void TestStoreArtists::hostileDataHome_data() {
    QTest::addColumn<void*>("command");
    QTest::addColumn<bool>("done"); // what the command returns
    const auto row = [](const char* name, bool done, HostileCommand command) {
        QTest::newRow(name) << reinterpret_cast<void*>(command) << done;
    };
    row("remove linked genre", true,
        [](ArtistStore& s, const QByteArray&) { return GenreFolders(s).RemoveGenre("Linked"); });
    row("purge", true, [](ArtistStore& s, const QByteArray&) { return s.PurgeDB() == 2; });
    row("clean linked artist", false, [](ArtistStore& s, const QByteArray&) {
        return s.CleanArtist("Linked", "Band").artistFileDeleted;
    });
    row("delete linked artist", false,
        [](ArtistStore& s, const QByteArray&) { return s.DeleteArtist("Linked", "Band"); });
    row("move from linked genre", false, [](ArtistStore& s, const QByteArray&) {
        return GenreFolders(s).MoveArtist("Linked", "Pop", "Band");
    });
    row("move into linked genre", false, [](ArtistStore& s, const QByteArray&) {
        return GenreFolders(s).MoveArtist("Pop", "Linked", "Own");
    });
    row("delete linked song", false, [](ArtistStore& s, const QByteArray&) {
        return s.DeleteSongFromDB("Linked", "Band", 0).artistFileDeleted;
    });
    // A line longer than any path is no song; the file stays as it is.
    row("list past a long line", true, [](ArtistStore& s, const QByteArray&) {
        const QByteArray damaged = QByteArray(5000, 'x') + "\r\n/m/Long - Song.mp3\r\n";
        writeBytes(s.dbFolder() + "Pop/Long.lvn", damaged);
        const QList<SongEntry> songs = s.ListSongs("Pop", "Long", NamePatterns());
        return songs.size() == 1 && songs[0].lineIndex == 1 &&
               CountSongs(s.dbFolder() + "Pop/") == 3 &&
               readBytes(s.dbFolder() + "Pop/Long.lvn") == damaged;
    });
    row("load a killed association save", true, [](ArtistStore&, const QByteArray& home) {
        return loadAKilledSave(home + "/lorvane.gen");
    });
}

void TestStoreArtists::hostileDataHome() {
    QFETCH(void*, command);
    const QByteArray home = m_dir->path().toUtf8();
    const QByteArray outside = home + "/elsewhere/";
    writeBytes(outside + "Band.lvn", "/gone/b.mp3\r\n");
    writeBytes(outside + "sub/Deep.lvn", "/gone/d.mp3\r\n");
    writeBytes(db() + "Pop/Own.lvn", "/gone/o.mp3\r\n");
    QVERIFY(::symlink(outside.constData(), db() + "Linked") == 0);
    QVERIFY(::symlink(outside + "Band.lvn", db() + "Pop/Alias.lvn") == 0);
    QVERIFY(::symlink(outside + "made.lock", home + "/.lorvane.lock") == 0);
    const QByteArrayList before = coretest::snapshot(outside).keys();
    ArtistStore s = store();
    QTEST(reinterpret_cast<HostileCommand>(command)(s, home), "done");
    QCOMPARE(coretest::snapshot(outside).keys(), before);
}

void TestStoreArtists::manualAddStoresTwice() {
    ArtistStore s = store();
    QVERIFY(!s.ManualAddSongs("Pop", "Typed", {"/x/song.mp3"}).error.isEmpty()); // no folder
    writeBytes(db() + "Pop/keep");
    const ManualAddResult r =
        s.ManualAddSongs("Pop", "Typed", {"/x/song.mp3", "/x/song.mp3", "/x/a\nb"});
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.added, 2);
    QCOMPARE(r.unstorable, 1);
    QCOMPARE(readBytes(db() + "Pop/Typed.lvn"), QByteArray("/x/song.mp3\r\n/x/song.mp3\r\n"));
}

void TestStoreArtists::dataHome() {
    const QByteArray base = m_dir->path().toUtf8();
    QCOMPARE(resolveDataHome(base + "/env/home", base, base + "/user"), base + "/env/home/");
    QVERIFY(pathExists(base + "/env/home"));
    QCOMPARE(resolveDataHome("", base, base + "/user"), base + "/");
    QCOMPARE(resolveDataHome("", base + "/missing", base + "/user/lorvane"),
             base + "/user/lorvane/");
    QVERIFY(pathExists(base + "/user/lorvane"));
    // A writable folder of an installed program (root's /usr/bin) is not the data home.
    writeBytes(base + "/usr/share/lorvane/lorvane.txt");
    QVERIFY(QDir().mkpath(QString::fromUtf8(base + "/usr/bin")));
    QCOMPARE(resolveDataHome("", base + "/usr/bin", base + "/user/lorvane"),
             base + "/user/lorvane/");
    qputenv("LORVANE_HOME", base + "/fromenv");
    QCOMPARE(ProgramFolder(), base + "/fromenv/");
}

QTEST_GUILESS_MAIN(TestStoreArtists)
#include "tst_store_artists.moc"
