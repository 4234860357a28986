#include "files/FindFiles.h"
#include "store/ArtistStore.h"
#include "store/AssociationSource.h"
#include "store/Scanner.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lorvane;
using coretest::readBytes;
using coretest::snapshot;
using coretest::writeBytes;

namespace {

class TableSource : public AssociationSource, public AssociationLookup {
public:
    std::unique_ptr<AssociationLookup> LoadAssociations() override {
        struct Forward : AssociationLookup {
            const TableSource* table;
            std::optional<QByteArray> genreOf(const QByteArray& a) const override {
                return table->genreOf(a);
            }
        };
        auto lookup = std::make_unique<Forward>();
        lookup->table = this;
        return lookup;
    }
    std::optional<QByteArray> genreOf(const QByteArray& artist) const override {
        if (artist == "Remembered")
            return QByteArray("Rock");
        if (artist == "Stuck")
            return QByteArray("Blocked"); // a file, not a folder: no artist file fits in it
        return std::nullopt;
    }
};

dev_t deviceOf(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

// A writable folder on another file system than `near`: one the machine has (the list is
// where Linux systems usually mount a tmpfs), or, for root, a tmpfs mounted at `mountPoint`
// in a mount namespace of this process alone. Empty when there is none; the test then
// skips, as the layout of a container or chroot is no fault of the search.
QByteArray otherFileSystem(const QByteArray& near, const QByteArray& mountPoint) {
    const dev_t here = deviceOf(near);
    const QByteArrayList places = {"/dev/shm",
                                   qgetenv("XDG_RUNTIME_DIR"),
                                   "/run/user/" + QByteArray::number(::getuid()),
                                   "/run/shm",
                                   "/tmp",
                                   "/var/tmp"};
    for (const QByteArray& place : places) {
        if (!place.isEmpty() && ::access(place.constData(), W_OK) == 0 &&
            deviceOf(place) != dev_t(-1) && deviceOf(place) != here)
            return place;
    }
    static const bool ownNamespace =
        ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (ownNamespace && ::mkdir(mountPoint.constData(), 0700) == 0 &&
        ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=1m") == 0 &&
        deviceOf(mountPoint) != here)
        return mountPoint;
    return {};
}

} // namespace

class TestScanFolders : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void search_data();
    void search();
    void reach_data();
    void reach();
    void captions();
    void scanningTwiceAddsNothing_data();
    void scanningTwiceAddsNothing();
    void sameFilesAsOneByOne_data();
    void sameFilesAsOneByOne();
    void stopsAtTheFileThatFails();
    void missingRoot();
    void probe();
    void twoScansAtOnce();

private:
    QByteArray home() const { return m_dir->path().toUtf8() + "/home"; }
    QByteArray music() const { return m_dir->path().toUtf8() + "/music/"; }

    std::unique_ptr<QTemporaryDir> m_dir;
    NamePatterns m_patterns;
};

void TestScanFolders::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    writeBytes(home() + "/LVNDB/");
}

void TestScanFolders::cleanup() {
    // QTemporaryDir cannot remove names that are not UTF-8.
    coretest::removeTree(m_dir->path().toUtf8());
}

void TestScanFolders::search_data() {
    QTest::addColumn<bool>("recurse");
    QTest::addColumn<QByteArrayList>("expected");
    const QByteArrayList own = {"a.mp3", "B.MP3", ".hidden.mp3", "\xff - y.mp3"};
    QTest::newRow("recursive") << true
                               << (own +
                                   QByteArrayList{"sub/e.mp3", "sub/deeper/f.mp3", "x.mp3/h.mp3"});
    QTest::newRow("root only") << false << own;
}

void TestScanFolders::search() {
    QFETCH(bool, recurse);
    QFETCH(QByteArrayList, expected);
    for (const char* f : {"a.mp3", "B.MP3", ".hidden.mp3", "\xff - y.mp3", "c.mp3x", "d.txt",
                          "sub/e.mp3", "sub/deeper/f.mp3", ".hid/g.mp3", "x.mp3/h.mp3"})
        writeBytes(music() + f);
    QVERIFY(::symlink(music().constData(), (music() + "sub/loop").constData()) == 0);

    const QByteArrayList paths = FindFiles(music(), "*.mp3", FindOptions{.recurse = recurse});
    QByteArrayList found;
    for (const QByteArray& path : paths)
        found.append(path.mid(music().size()));
    QCOMPARE(paths.size(), expected.size());
    // A folder's own files come before those of its sub-folders.
    const auto firstNested = std::find_if(found.begin(), found.end(),
                                          [](const QByteArray& p) { return p.contains('/'); });
    QVERIFY(
        std::all_of(firstNested, found.end(), [](const QByteArray& p) { return p.contains('/'); }));
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(found, expected);
}

// A drive's search stays on its file system; no search enters proc, sysfs and their
// like. "mnt" links to each row's place ("" for a folder on another real file system).
void TestScanFolders::reach_data() {
    QTest::addColumn<QByteArray>("place");
    QTest::addColumn<bool>("oneFileSystem");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("a folder's search enters another file system")
        << QByteArray() << false << QByteArrayList{"a.mp3", "mnt/x.mp3"};
    QTest::newRow("a drive's search stays on its own")
        << QByteArray() << true << QByteArrayList{"a.mp3"};
    for (const char* pseudo : {"/proc", "/sys", "/dev", "/dev/pts"})
        QTest::newRow(pseudo) << QByteArray(pseudo) << false << QByteArrayList{"a.mp3"};
}

void TestScanFolders::reach() {
    QFETCH(QByteArray, place);
    QFETCH(bool, oneFileSystem);
    std::unique_ptr<QTemporaryDir> other;
    const QByteArray mountPoint = QFile::encodeName(m_dir->path()) + "/tmpfs";
    if (place.isEmpty()) {
        const QByteArray fileSystem = otherFileSystem(music(), mountPoint);
        if (fileSystem.isEmpty())
            QSKIP("No writable folder on a second file system (/dev/shm, /run/user, /tmp or a "
                  "tmpfs mounted as root)");
        other = std::make_unique<QTemporaryDir>(QFile::decodeName(fileSystem) +
                                                QStringLiteral("/lorvane-XXXXXX"));
        QVERIFY(other->isValid());
        place = QFile::encodeName(other->path());
        writeBytes(place + "/x.mp3");
    }
    writeBytes(music() + "a.mp3");
    QVERIFY(::symlink(place.constData(), (music() + "mnt").constData()) == 0);
    QByteArrayList found;
    for (const QByteArray& path :
         FindFiles(music(), "*", FindOptions{.recurse = true, .sameFileSystem = oneFileSystem}))
        found.append(path.mid(music().size()));
    other.reset();
    ::umount2(mountPoint.constData(), MNT_DETACH); // only where this test mounted one
    QTEST(found, "expected");
}

void TestScanFolders::captions() {
    for (int i = 0; i < 12; ++i)
        writeBytes(music() + "Band - " + QByteArray::number(i) + ".mp3");
    QStringList seen;
    ArtistStore store(home());
    Scanner(store, [&](const QString& c) {
        seen.append(c);
    }).AddFromFolder(music(), true, m_patterns, "", nullptr);
    QCOMPARE(seen, (QStringList{"Getting files: 5...", "Getting files: 10...", "Organizing MP3s: 0",
                                "Organizing MP3s: 5", "Organizing MP3s: 10"}));
}

// The second scan names the folder of the first in another spelling; a relative one is
// taken from the current folder, and what is stored does not depend on it.
void TestScanFolders::scanningTwiceAddsNothing_data() {
    QTest::addColumn<QByteArray>("firstRoot"); // "/..." below the temporary folder
    QTest::addColumn<QByteArray>("secondRoot");
    QTest::newRow("same root") << QByteArray("/music/") << QByteArray("/music/");
    QTest::newRow("relative, then absolute") << QByteArray("music") << QByteArray("/music");
    QTest::newRow("doubled slash") << QByteArray("/music/") << QByteArray("//music//");
    QTest::newRow("dot") << QByteArray("./music/.") << QByteArray("/./music/");
}

void TestScanFolders::scanningTwiceAddsNothing() {
    QFETCH(QByteArray, firstRoot);
    QFETCH(QByteArray, secondRoot);
    for (int i = 0; i < 7; ++i)
        writeBytes(music() + "Band " + QByteArray::number(i % 3) + " - " + QByteArray::number(i) +
                   ".mp3");
    const QByteArray base = m_dir->path().toUtf8();
    const auto root = [&base](const QByteArray& given) {
        return given.startsWith('/') ? base + given : given;
    };
    const QByteArray cwd = QDir::currentPath().toUtf8();
    QVERIFY(QDir::setCurrent(QString::fromUtf8(base)));
    const auto back = qScopeGuard([&cwd] { QDir::setCurrent(QString::fromUtf8(cwd)); });
    ArtistStore store(home());
    Scanner scanner(store);
    OrganizeResult first =
        scanner.AddFromFolder(root(firstRoot), true, m_patterns, "Unknown", nullptr);
    for (const QByteArray& line : readBytes(store.dbFolder() + "Unknown/Band 0.lvn").split('\n'))
        QVERIFY(line.isEmpty() || line.startsWith(music() + "Band 0 - "));
    QCOMPARE(first.added, 7);
    QCOMPARE(first.artistsToList.size(), 3);
    QCOMPARE(first.genresCreated, QByteArrayList{"Unknown"});
    const auto before = snapshot(store.dbFolder());
    OrganizeResult again =
        scanner.AddFromFolder(root(secondRoot), true, m_patterns, "Unknown", nullptr);
    QCOMPARE(again.processed, 7);
    QCOMPARE(again.duplicates, 7);
    QVERIFY(again.artistsToList.isEmpty() && again.genresCreated.isEmpty());
    QCOMPARE(snapshot(store.dbFolder()), before);
}

void TestScanFolders::sameFilesAsOneByOne_data() {
    QTest::addColumn<int>("flushInterval");
    QTest::newRow("written at the end") << 60000;
    QTest::newRow("written every song") << 0;
    QTest::newRow("written every millisecond") << 1;
}

void TestScanFolders::sameFilesAsOneByOne() {
    QFETCH(int, flushInterval);
    // Names that meet every rule of filing: case variants of one artist, an artist in an
    // existing genre file with LF line ends, a remembered genre, duplicates in another
    // letter case, blank and unknown artists, a name that is not UTF-8.
    const QByteArrayList names = {"Some Band - 1.mp3",
                                  "SOME BAND - 2.mp3",
                                  "some_band - 3.mp3",
                                  "Pop Star - 1.mp3",
                                  "pop star - 1.MP3",
                                  "Remembered - 1.mp3",
                                  "remembered - 2.mp3",
                                  "_ - blank.mp3",
                                  "nothing.mp3",
                                  "(Brackets) x.mp3",
                                  "\xff\xfe - raw.mp3",
                                  "stra\xc3\x9f"
                                  "e - 1.mp3"};
    for (int folder = 0; folder < 3; ++folder) {
        for (const QByteArray& name : names)
            writeBytes(music() + "f" + QByteArray::number(folder) + "/" + name);
    }
    const QByteArray prepared = "/old/Pop Star - 0.mp3\n" + music() + "f1/POP STAR - 1.mp3\n";
    coretest::TempDir other;
    const QByteArray homes[2] = {home(), other.path().toUtf8()};
    for (const QByteArray& h : homes) {
        ArtistStore(h).createDbFolder();
        writeBytes(h + "/LVNDB/Pop/POP STAR.lvn", prepared);
        writeBytes(h + "/LVNDB/Pop/STRASSE.lvn", "/s.mp3\r\n");
    }
    TableSource table;

    ArtistStore scanned(homes[0]);
    Scanner scanner(scanned);
    scanner.setFlushInterval(flushInterval);
    const OrganizeResult r = scanner.AddFromFolder(music(), true, m_patterns, "Unknown", &table);
    QVERIFY(r.error.isEmpty());

    ArtistStore single(homes[1]);
    QByteArrayList listed, created;
    for (const QByteArray& path : scanner.foundFiles()) {
        const auto lookup = table.LoadAssociations();
        const AddSongResult s = single.AddSong(path, m_patterns, "Unknown", true, lookup.get());
        if (s.showInArtistList)
            listed.append(s.artist);
        if (s.genreFolderCreated)
            created.append(s.genre);
    }
    QCOMPARE(r.artistsToList, listed);
    QCOMPARE(r.genresCreated, created);
    QCOMPARE(snapshot(scanned.dbFolder()), snapshot(single.dbFolder()));
    QVERIFY(
        readBytes(scanned.dbFolder() + "Pop/POP STAR.lvn").startsWith("/old/Pop Star - 0.mp3\r\n"));
}

void TestScanFolders::stopsAtTheFileThatFails() {
    for (int i = 0; i < 20; ++i)
        writeBytes(music() + "A" + QByteArray::number(i) + " - x.mp3");
    writeBytes(music() + "Stuck - x.mp3");
    coretest::TempDir other;
    const QByteArray homes[2] = {home(), other.path().toUtf8()};
    for (const QByteArray& h : homes)
        writeBytes(h + "/LVNDB/Blocked", "a file");
    TableSource table;
    ArtistStore scanned(homes[0]);
    Scanner scanner(scanned);
    const OrganizeResult r = scanner.AddFromFolder(music(), true, m_patterns, "", &table);
    QVERIFY(r.error.startsWith(QStringLiteral("Cannot create file ")));

    ArtistStore single(homes[1]);
    int processed = 0;
    for (const QByteArray& path : scanner.foundFiles()) {
        const auto lookup = table.LoadAssociations();
        if (!single.AddSong(path, m_patterns, "", true, lookup.get()).error.isEmpty())
            break;
        ++processed;
    }
    QVERIFY(processed < 21);
    QCOMPARE(r.processed, processed);
    QCOMPARE(snapshot(scanned.dbFolder()), snapshot(single.dbFolder()));
}

void TestScanFolders::missingRoot() {
    QStringList seen;
    ArtistStore store(home());
    const OrganizeResult r = Scanner(store, [&](const QString& c) {
                                 seen.append(c);
                             }).AddFromFolder(music() + "nowhere", true, m_patterns, "", nullptr);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.processed, 0);
    QVERIFY(seen.isEmpty());
    QVERIFY(store.genres().isEmpty());
}

void TestScanFolders::probe() {
    const QString probe =
        qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe");
    if (!QFile::exists(probe))
        QSKIP("lorvane-probe is not built");
    writeBytes(music() + "\xff Band - One.mp3");
    writeBytes(music() + "sub/(Other) Two.mp3");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LORVANE_HOME"), QString::fromUtf8(home() + "/probe"));
    p.setProcessEnvironment(env);
    // The raw name cannot be passed through QProcess's QString arguments; a shell can.
    p.start(QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("\"$0\" parse --dash --bracket \"$(printf '/m/\\377 Band - One.mp3')\" "
                            "'x/(B) T.mp3' && \"$0\" scan --no-recurse --dash \"$1\" "
                            "&& \"$0\" count"),
             probe, QString::fromUtf8(music())});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(),
             QByteArray("\xff Band\tOne\nB\tT\nOrganizing MP3s: 0\nLorvane\n1\n"));
}

// Two programs filing songs of one artist into one database: each waits for the other's
// run, so neither overwrites the other's lines.
void TestScanFolders::twoScansAtOnce() {
    const QString probe =
        qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe");
    if (!QFile::exists(probe))
        QSKIP("lorvane-probe is not built");
    for (int i = 0; i < 400; ++i) {
        writeBytes(music() + "a/Band - A" + QByteArray::number(i) + ".mp3");
        writeBytes(music() + "b/Band - B" + QByteArray::number(i) + ".mp3");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LORVANE_HOME"), QString::fromUtf8(home()));
    QProcess scans[2];
    for (int i = 0; i < 2; ++i) {
        scans[i].setProcessEnvironment(env);
        scans[i].start(probe, {QStringLiteral("scan"), QStringLiteral("--dash"),
                               QString::fromUtf8(music() + (i ? "b" : "a"))});
    }
    for (QProcess& scan : scans) {
        QVERIFY(scan.waitForFinished(60000));
        QCOMPARE(scan.exitCode(), 0);
    }
    QCOMPARE(readBytes(home() + "/LVNDB/Unknown/Band.lvn").count("\r\n"), 800);
    QVERIFY(!coretest::pathExists(home() + "/.lorvane.lock"));
}

QTEST_GUILESS_MAIN(TestScanFolders)
#include "tst_store_scan_folders.moc"
