#include "support/Collection.h"

#include "building/FileNameParsing.h"
#include "store/ArtistStore.h"
#include "store/SongFinder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lorvane;

class TstFind : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<ArtistStore> m_store;
    // The artist list as the window shows it.
    const QByteArrayList m_artists{"Alpha", "beta", "Delta", "Gamma", "Zulu"};

    QByteArrayList titlesOf(const QByteArray& artist) const {
        QByteArrayList titles;
        for (const SongEntry& s : SongsInListOrder(*m_store, "Pop", artist, NamePatterns()))
            titles << s.title;
        return titles;
    }

private slots:
    void initTestCase() {
        const QString home = m_home.path();
        wintest::writeArtist(home, "Pop", "Alpha",
                             {"/m/Alpha - Love Me.mp3", "/m/Alpha - Dance.mp3"});
        // The folder names "love", the title does not: only the title is searched.
        wintest::writeArtist(home, "Pop", "beta",
                             {"/m/love/beta - Nothing.mp3", "/m/beta - Lovely Day.mp3"});
        wintest::writeArtist(home, "Pop", "Delta",
                             {"/m/Delta - Unique.mp3", "/m/Delta - Über Song.mp3"});
        // Gamma is listed (added by name) but has no file yet.
        wintest::writeArtist(home, "Pop", "Zulu",
                             {"/m/Zulu - Night.mp3", "/m/Zulu - LOVE again.mp3"});
        m_store = std::make_unique<ArtistStore>(QFile::encodeName(home) + '/');
    }

    void songsAreInListOrder() {
        QCOMPARE(titlesOf("Alpha"), QByteArrayList({"Dance", "Love Me"}));
        QCOMPARE(titlesOf("Zulu"), QByteArrayList({"LOVE again", "Night"}));
    }

    void find_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("focused");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("artist"); // -1: not found
        QTest::addColumn<bool>("reload");
        QTest::addColumn<QString>("title");

        QTest::newRow("in the current list after the focus")
            << "love" << 0 << 1 << 0 << false << "Love Me";
        QTest::newRow("the next artist, title only")
            << "love" << 0 << 2 << 1 << true << "Lovely Day";
        QTest::newRow("upper-case text") << "LOVELY" << 0 << 0 << 1 << true << "Lovely Day";
        QTest::newRow("lower-case text finds LOVE")
            << "love again" << 0 << 0 << 4 << true << "LOVE again";
        QTest::newRow("from the last artist round to the first")
            << "love" << 4 << 2 << 0 << true << "Love Me";
        QTest::newRow("a listed artist without file is passed over")
            << "night" << 2 << 2 << 4 << true << "Night";
        QTest::newRow("only the focused song matches: found again last")
            << "unique" << 2 << 2 << 2 << true << "Unique";
        QTest::newRow("non-ASCII letters keep their case") << "über" << 0 << 0 << -1 << false << "";
        QTest::newRow("non-ASCII exact") << "Über" << 0 << 0 << 2 << true << "Über Song";
        QTest::newRow("folder part never matches") << "/m/" << 0 << 0 << -1 << false << "";
        QTest::newRow("not found") << "xyz" << 1 << 0 << -1 << false << "";
        QTest::newRow("empty text") << "" << 0 << 0 << -1 << false << "";
    }

    void find() {
        QFETCH(QString, text);
        QFETCH(int, focused);
        QFETCH(int, start);
        QFETCH(int, artist);
        QFETCH(bool, reload);
        QFETCH(QString, title);
        const QByteArrayList current = titlesOf(m_artists[focused]);
        const FindOutcome got = FindSong(*m_store, "Pop", NamePatterns(), m_artists, focused,
                                         current, start, text.toUtf8());
        QCOMPARE(got.found, artist >= 0);
        if (artist < 0)
            return;
        QCOMPARE(got.artist, artist);
        QCOMPARE(got.reload, reload);
        const QByteArrayList titles = reload ? titlesOf(m_artists[artist]) : current;
        QCOMPARE(QString::fromUtf8(titles.value(got.song)), title);
    }

    void searchesTheCurrentListAsShown() {
        // The current list is what the window shows, even when the file has changed since.
        const FindOutcome got = FindSong(*m_store, "Pop", NamePatterns(), m_artists, 3,
                                         {"Gone Song", "Stale Love"}, 0, "love");
        QVERIFY(got.found);
        QCOMPARE(got.artist, 3);
        QVERIFY(!got.reload);
        QCOMPARE(got.song, 1);
    }
};

QTEST_GUILESS_MAIN(TstFind)
#include "tst_files_find.moc"
