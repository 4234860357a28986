// The player remote and the play commands against the desktop's real players on a bus
// of their own: VLC, whose track list takes songs, and mpv, which has no track list but
// opens documents; and the playlist's program as the real xdg-mime tells it.
#include "fakes/FakeShell.h"
#include "files/FileUrl.h"
#include "platform/DesktopShell.h"
#include "platform/MprisPlayer.h"
#include "player/CommandRunner.h"
#include "player/Enqueue.h"
#include "player/Playback.h"
#include "player/WAIPC.h"
#include "support/Fixtures.h"
#include "support/RealPlayers.h"

#include <QtTest>

using namespace lorvane;
using namespace lorvane::test;

namespace {

const QString Mpv = QStringLiteral("org.mpris.MediaPlayer2.mpv");
const QString Vlc = QStringLiteral("org.mpris.MediaPlayer2.vlc");

class NoRunner : public CommandRunner {
public:
    bool start(const std::vector<QByteArray>&) override { return false; }
};

QString urlOf(const QByteArray& path) {
    return QString::fromLatin1(FileUrl(path).toEncoded());
}

#define START(what)                                                                                \
    do {                                                                                           \
        const QString problem = (what);                                                            \
        if (!problem.isEmpty())                                                                    \
            QSKIP(qPrintable(problem));                                                            \
    } while (false)

} // namespace

class TestRealPlayers : public QObject {
    Q_OBJECT

private slots:
    void enqueue_data();
    void enqueue();
    void playGoesToTheRunningPlayer();
    void buttonsStayWithTheShownPlayer();
    void noProgramForPlaylists();
    void probeCommands_data();
    void probeCommands();
};

void TestRealPlayers::enqueue_data() {
    QTest::addColumn<bool>("vlc");
    QTest::newRow("VLC: its track list takes them") << true;
    QTest::newRow("mpv: no track list") << false;
}

void TestRealPlayers::enqueue() {
    QFETCH(bool, vlc);
    RealPlayers players;
    START(players.problem());
    const QByteArray first = players.sound("first.wav");
    START(vlc ? players.startVlc(first) : players.startMpv(first));
    MprisPlayer bus(players.bus(), 2000);
    WAIPC ipc(bus);
    NoRunner runner;
    const QByteArray a = players.sound("a.wav"), b = players.sound("b.wav");
    const EnqueueRoute route = EnqueueSongs(ipc, runner, QString(), {a, b});
    if (!vlc) {
        QCOMPARE(route, EnqueueRoute::Nothing);
        QCOMPARE(CannotEnqueueText(ipc.PlayerCaptionName()),
                 QStringLiteral("mpv cannot take songs into its list"));
        return;
    }
    QCOMPARE(route, EnqueueRoute::TrackList);
    // A second enqueue, as a second key press: after the first two, though VLC does
    // not list those yet.
    QTest::qWait(300);
    const QByteArray c = players.sound("c.wav");
    QCOMPARE(EnqueueSongs(ipc, runner, QString(), {c}), EnqueueRoute::TrackList);
    // After the song that plays come the three, in their order.
    const auto playing = [&] {
        return bus.metadata(Vlc).value(QStringLiteral("xesam:url")).toString();
    };
    QCOMPARE(playing(), urlOf(first));
    ipc.WinampNext();
    QTRY_COMPARE_WITH_TIMEOUT(playing(), urlOf(a), 10000);
    ipc.WinampNext();
    QTRY_COMPARE_WITH_TIMEOUT(playing(), urlOf(b), 10000);
    ipc.WinampNext();
    QTRY_COMPARE_WITH_TIMEOUT(playing(), urlOf(c), 10000);
}

void TestRealPlayers::playGoesToTheRunningPlayer() {
    RealPlayers players;
    START(players.problem());
    START(players.startMpv(players.sound("first.wav")));
    MprisPlayer bus(players.bus(), 2000);
    WAIPC ipc(bus);
    FakeShell shell;
    Playback playback(shell, players.folder());
    playback.setPlayer(&ipc);
    const QByteArray a = players.sound("a.wav");
    // Twice, as a user presses Play twice: the one mpv plays each list, none starts anew.
    QVERIFY(playback.PlaySongs({players.sound("b.wav"), a}));
    QVERIFY(playback.PlaySongs({a}));
    QVERIFY(shell.documents.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(bus.metadata(Mpv).value(QStringLiteral("xesam:url")).toString(),
                              urlOf(a), 10000);
    QCOMPARE(bus.playerNames(), QStringList{Mpv});
    QCOMPARE(ipc.FindWinamp(), Mpv);
}

void TestRealPlayers::buttonsStayWithTheShownPlayer() {
    RealPlayers players;
    START(players.problem());
    START(players.startMpv(players.sound("a.wav")));
    START(players.startVlc(players.sound("b.wav")));
    MprisPlayer bus(players.bus(), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(bus.playbackStatus(Vlc), QStringLiteral("Playing"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(bus.playbackStatus(Mpv), QStringLiteral("Playing"), 10000);
    WAIPC ipc(bus);
    QCOMPARE(ipc.FindWinamp(), Mpv);
    // Pause leaves mpv paused and VLC the only one playing; the strip stays with mpv,
    // so Play resumes what Pause stopped.
    ipc.WinampPause();
    QTRY_COMPARE_WITH_TIMEOUT(bus.playbackStatus(Mpv), QStringLiteral("Paused"), 10000);
    QCOMPARE(ipc.FindWinamp(), Mpv);
    ipc.WinampPlay();
    QTRY_COMPARE_WITH_TIMEOUT(bus.playbackStatus(Mpv), QStringLiteral("Playing"), 10000);
    QCOMPARE(ipc.WinampName(), QStringLiteral("mpv"));
}

void TestRealPlayers::noProgramForPlaylists() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        QSKIP("xdg-mime (xdg-utils) is not installed");
    coretest::TempDir xdg;
    const QByteArray root = QFile::encodeName(xdg.path());
    // Desktop files and associations of its own, nothing of the machine's.
    const QByteArray apps = root + "/data/applications";
    QVERIFY(QDir().mkpath(QFile::decodeName(apps)));
    QVERIFY(QDir().mkpath(QFile::decodeName(root + "/config")));
    const QList<QPair<const char*, QByteArray>> env{
        {"XDG_DATA_HOME", root + "/data"},     {"XDG_DATA_DIRS", root + "/data"},
        {"XDG_CONFIG_HOME", root + "/config"}, {"XDG_CONFIG_DIRS", root + "/config"},
        {"XDG_CURRENT_DESKTOP", {}},           {"DESKTOP_SESSION", {}}};
    QList<QPair<const char*, std::optional<QByteArray>>> saved;
    for (const auto& [name, value] : env) {
        saved.append({name, qEnvironmentVariableIsSet(name)
                                ? std::optional<QByteArray>(qgetenv(name))
                                : std::nullopt});
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    const auto restore = qScopeGuard([&] {
        for (const auto& [name, value] : saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    });

    DesktopShell shell;
    QCOMPARE(shell.defaultProgram(Playback::PlaylistType), std::optional<QString>(QString()));
    Playback playback(shell, root);
    QStringList reports;
    playback.setReport([&](const QString& text) { reports.append(text); });
    coretest::writeBytes(root + "/song.mp3", "ID3");
    QVERIFY(!playback.PlaySongs({root + "/song.mp3"}));
    QCOMPARE(reports, QStringList{Playback::NoProgramText});

    coretest::writeBytes(apps + "/some-player.desktop",
                         "[Desktop Entry]\nType=Application\nName=Some Player\nExec=true %U\n"
                         "MimeType=audio/x-mpegurl;\n");
    coretest::writeBytes(root + "/config/mimeapps.list",
                         "[Default Applications]\naudio/x-mpegurl=some-player.desktop\n");
    QCOMPARE(shell.defaultProgram(Playback::PlaylistType),
             std::optional<QString>(QStringLiteral("some-player.desktop")));
}

void TestRealPlayers::probeCommands_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("player");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("play: to mpv") << QStringLiteral("play") << true << 0 << QString();
    QTest::newRow("enqueue: mpv takes none")
        << QStringLiteral("enqueue") << true << 1
        << QStringLiteral("mpv cannot take songs into its list\n");
    QTest::newRow("enqueue: no player")
        << QStringLiteral("enqueue") << false << 1 << QStringLiteral("No player is running.\n");
}

void TestRealPlayers::probeCommands() {
    QFETCH(QString, command);
    QFETCH(bool, player);
    RealPlayers players;
    START(players.problem());
    if (player)
        START(players.startMpv(players.sound("first.wav")));
    const QByteArray song = players.sound("a.wav");
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), players.address());
    env.insert(QStringLiteral("LORVANE_HOME"), QFile::decodeName(players.folder()));
    probe.setProcessEnvironment(env);
    probe.start(qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe"),
                {command, QFile::decodeName(song)});
    QVERIFY(probe.waitForFinished(30000));
    QTEST(QString::fromUtf8(probe.readAllStandardError()), "message");
    QTEST(probe.exitCode(), "exitCode");
    if (command == QLatin1String("play")) {
        MprisPlayer bus(players.bus(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(bus.metadata(Mpv).value(QStringLiteral("xesam:url")).toString(),
                                  urlOf(song), 10000);
    }
}

QTEST_GUILESS_MAIN(TestRealPlayers)
#include "tst_player_realplayers.moc"
