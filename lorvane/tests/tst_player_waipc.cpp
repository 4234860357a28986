// The player remote against a real session bus and a player process that records
// what it receives.
#include "fakes/FakeMprisPlayer.h"
#include "platform/MprisPlayer.h"
#include "player/WAIPC.h"

#include <QtTest>

using namespace lorvane;
using lorvane::test::FakeMprisPlayer;

class TestWaipc : public QObject {
    Q_OBJECT

private slots:
    void init();
    void noPlayerAnswersNothing();
    void outputTime_data();
    void outputTime();
    void title_data();
    void title();
    void jumpToTime_data();
    void jumpToTime();
    void transportCommands_data();
    void transportCommands();
    void playingPlayerComesFirst_data();
    void playingPlayerComesFirst();
    void playerTheSongsWentToIsFollowed();
    void hungPlayerIsNotWaitedFor();
    void vanishedPlayerCountsAsNone();
    void enqueueNeedsAnEditableTrackList_data();
    void enqueueNeedsAnEditableTrackList();

private:
    QString nextName() { return QStringLiteral("waipc%1").arg(++m_counter); }
    int m_counter = 0;
};

void TestWaipc::init() {
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no session bus");
}

void TestWaipc::noPlayerAnswersNothing() {
    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.FindWinamp(), QString());
    QCOMPARE(ipc.WinampGetOutputTime(0), 0);
    QCOMPARE(ipc.WinampGetOutputTime(1), 0);
    QCOMPARE(ipc.WinampGetTitle(), QString());
    QCOMPARE(ipc.WinampCommand(WAIPC::PlayButton), 0);
    QVERIFY(!ipc.WinampCanEnqueue());
}

void TestWaipc::outputTime_data() {
    QTest::addColumn<qlonglong>("positionUs");
    QTest::addColumn<qlonglong>("lengthUs");
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("seconds");
    QTest::newRow("61.5 s into 245 s") << 61500000LL << 245000000LL << 61500 << 245;
    QTest::newRow("length rounds down") << 999LL << 245999999LL << 0 << 245;
    QTest::newRow("under a second long") << 0LL << 999999LL << 0 << 0;
    QTest::newRow("no length") << 5000000LL << -1LL << 5000 << 0;
    QTest::newRow("negative position") << -2000000LL << 60000000LL << 0 << 60;
    QTest::newRow("longer than an int of ms")
        << 3000000000000LL << 3000000000000LL << std::numeric_limits<int>::max() << 3000000;
}

void TestWaipc::outputTime() {
    QFETCH(qlonglong, positionUs);
    QFETCH(qlonglong, lengthUs);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("T"), {}, {}, lengthUs);
    player.setPosition(positionUs);

    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.FindWinamp(), player.service());
    QTEST(ipc.WinampGetOutputTime(0), "ms");
    QTEST(ipc.WinampGetOutputTime(1), "seconds");
    QCOMPARE(ipc.WinampGetOutputTime(2), 0);
}

void TestWaipc::title_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("artists");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("expected");
    const QString url = QStringLiteral("file:///music/Some%20Band%20-%20First%20Song.mp3");
    QTest::newRow("artist and title")
        << QStringLiteral("First Song") << QStringList{QStringLiteral("Some Band")} << url
        << QStringLiteral("Some Band - First Song");
    QTest::newRow("two artists") << QStringLiteral("Duet")
                                 << QStringList{QStringLiteral("A"), QStringLiteral("B")}
                                 << QString() << QStringLiteral("A, B - Duet");
    QTest::newRow("title only") << QStringLiteral("First Song") << QStringList() << url
                                << QStringLiteral("First Song");
    QTest::newRow("file name of the url") << QString() << QStringList{QStringLiteral("X")} << url
                                          << QStringLiteral("Some Band - First Song.mp3");
    QTest::newRow("player name") << QString() << QStringList() << QString()
                                 << QStringLiteral("Fake Player");
}

void TestWaipc::title() {
    QFETCH(QString, title);
    QFETCH(QStringList, artists);
    QFETCH(QString, url);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(title, artists, url, 245000000);

    MprisPlayer bus;
    WAIPC ipc(bus);
    QTEST(ipc.WinampGetTitle(), "expected");
}

void TestWaipc::jumpToTime_data() {
    QTest::addColumn<QString>("trackId");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("expected");
    QTest::newRow("to 90 s") << QStringLiteral("/track/7") << 90000
                             << QStringLiteral("SetPosition /track/7 90000000");
    QTest::newRow("negative goes to the start")
        << QStringLiteral("/track/7") << -5 << QStringLiteral("SetPosition /track/7 0");
    // The player stands at 30 s (see below).
    QTest::newRow("no track id: relative seek")
        << QString() << 90000 << QStringLiteral("Seek 60000000");
}

void TestWaipc::jumpToTime() {
    QFETCH(QString, trackId);
    QFETCH(int, ms);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("T"), {}, {}, 245000000, trackId);
    player.setPosition(30000000);

    MprisPlayer bus;
    WAIPC ipc(bus);
    ipc.WinampJumpToTime(ms);
    QTEST(player.commands().join(QLatin1Char('|')), "expected");
}

void TestWaipc::transportCommands_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    QTest::newRow("previous") << 40044 << QStringLiteral("Previous");
    QTest::newRow("play") << 40045 << QStringLiteral("Play");
    QTest::newRow("pause toggles") << 40046 << QStringLiteral("PlayPause");
    QTest::newRow("stop") << 40047 << QStringLiteral("Stop");
    QTest::newRow("next") << 40048 << QStringLiteral("Next");
    QTest::newRow("unknown id") << 40049 << QString();
}

void TestWaipc::transportCommands() {
    QFETCH(int, id);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.WinampCommand(id), 0);
    QTEST(player.commands().join(QLatin1Char('|')), "expected");
}

void TestWaipc::playingPlayerComesFirst_data() {
    QTest::addColumn<QString>("statusA");
    QTest::addColumn<QString>("statusB");
    QTest::addColumn<int>("chosen");
    QTest::newRow("second one plays") << QStringLiteral("Paused") << QStringLiteral("Playing") << 1;
    QTest::newRow("first one plays") << QStringLiteral("Playing") << QStringLiteral("Playing") << 0;
    QTest::newRow("none plays") << QStringLiteral("Stopped") << QStringLiteral("Paused") << 0;
}

void TestWaipc::playingPlayerComesFirst() {
    QFETCH(QString, statusA);
    QFETCH(QString, statusB);
    QFETCH(int, chosen);
    // Names sort as a, b: the bus lists them in no particular order.
    const QString base = nextName();
    FakeMprisPlayer a(base + QStringLiteral("a"));
    FakeMprisPlayer b(base + QStringLiteral("b"));
    QVERIFY(a.start());
    QVERIFY(b.start());
    a.setStatus(statusA);
    b.setStatus(statusB);
    a.setTrack(QStringLiteral("From A"), {}, {}, 100000000);
    b.setTrack(QStringLiteral("From B"), {}, {}, 100000000);

    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.FindWinamp(), chosen == 0 ? a.service() : b.service());
    QCOMPARE(ipc.WinampGetTitle(),
             chosen == 0 ? QStringLiteral("From A") : QStringLiteral("From B"));
    ipc.WinampStop();
    QCOMPARE(a.commands().size(), chosen == 0 ? 1 : 0);
    QCOMPARE(b.commands().size(), chosen == 1 ? 1 : 0);
}

void TestWaipc::playerTheSongsWentToIsFollowed() {
    const QString base = nextName();
    FakeMprisPlayer a(base + QStringLiteral("a"));
    QVERIFY(a.start());
    a.setStatus(QStringLiteral("Playing"));
    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.FindWinamp(), a.service());
    // The desktop opens the songs: the player that turns up is followed, though
    // another one plays; once it is gone, the playing one is followed again.
    ipc.ExpectNewPlayer();
    FakeMprisPlayer b(base + QStringLiteral("b"));
    QVERIFY(b.start());
    QCOMPARE(ipc.FindWinamp(), b.service());
    ipc.WinampStop();
    QCOMPARE(b.commands(), QStringList{QStringLiteral("Stop")});
    b.kill();
    QCOMPARE(ipc.FindWinamp(), a.service());
}

void TestWaipc::hungPlayerIsNotWaitedFor() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {QStringLiteral("Band")}, {}, 245000000);
    player.setPosition(61500000);

    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.WinampGetTitle(), QStringLiteral("Band - Song"));

    // The player now takes three seconds over every answer: the answers that come
    // too late are not waited for, so the strip reads "no player".
    player.clearCalls();
    player.setHang(3000);
    QCOMPARE(ipc.WinampGetTitle(), QString());
    QCOMPARE(ipc.WinampGetOutputTime(0), 0);
    QCOMPARE(ipc.WinampGetOutputTime(1), 0);
    ipc.WinampPlay();
    // After the first call ran out the player is left alone for a while instead of
    // being asked again on every call.
    QCOMPARE(player.calls(), QStringList{QStringLiteral("get Metadata")});

    player.setHang(0);
    QTRY_COMPARE_WITH_TIMEOUT(ipc.WinampGetTitle(), QStringLiteral("Band - Song"), 15000);
    QCOMPARE(ipc.WinampGetOutputTime(0), 61500);
}

void TestWaipc::vanishedPlayerCountsAsNone() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 245000000);
    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.WinampGetOutputTime(1), 245);
    player.kill();
    QCOMPARE(ipc.FindWinamp(), QString());
    QCOMPARE(ipc.WinampGetOutputTime(1), 0);
    QCOMPARE(ipc.WinampGetTitle(), QString());
}

void TestWaipc::enqueueNeedsAnEditableTrackList_data() {
    QTest::addColumn<bool>("trackList");
    QTest::addColumn<bool>("canEdit");
    QTest::newRow("no track list") << false << true;
    QTest::newRow("read-only track list") << true << false;
    QTest::newRow("editable track list") << true << true;
}

void TestWaipc::enqueueNeedsAnEditableTrackList() {
    QFETCH(bool, trackList);
    QFETCH(bool, canEdit);
    FakeMprisPlayer player(nextName(),
                           trackList ? QStringList{QStringLiteral("--tracklist")} : QStringList());
    QVERIFY(player.start());
    player.setCanEditTracks(canEdit);
    MprisPlayer bus;
    WAIPC ipc(bus);
    QCOMPARE(ipc.WinampCanEnqueue(), trackList && canEdit);
    QCOMPARE(ipc.WinampEnqueue(
                 QStringList{QStringLiteral("file:///a.mp3"), QStringLiteral("file:///b.mp3")}),
             trackList);
    QCOMPARE(ipc.WinampEnqueue(QStringList{QStringLiteral("file:///c.mp3")}), trackList);
    // Each enqueue lands at the end, its songs in their order: never in front of
    // what the list has (which is where NoTrack puts a track).
    const QStringList appended{QStringLiteral("file:///a.mp3"), QStringLiteral("file:///b.mp3"),
                               QStringLiteral("file:///c.mp3")};
    QCOMPARE(player.trackUris(), trackList ? appended : QStringList());
}

QTEST_GUILESS_MAIN(TestWaipc)
#include "tst_player_waipc.moc"
