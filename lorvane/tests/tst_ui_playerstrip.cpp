// The "Winamp:" strip against a private session bus with a recording player and a
// private sound server read back with pactl.
#include "PlayerStrip.h"

#include "fakes/FakeMprisPlayer.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystemVolume.h"
#include "platform/MprisPlayer.h"
#include "platform/PulseVolume.h"
#include "player/WAIPC.h"
#include "support/Pactl.h"
#include "support/PipeWirePulse.h"
#include "support/WindowRig.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace lorvane;
using namespace lorvane::test;

namespace {

// A strip with its services. Its timer stays active, as when a tick comes from it,
// but far off, so that each test ticks by hand.
struct Strip {
    explicit Strip(SystemVolume& volume) : ipc(bus), strip(ipc, volume, shell) {
        strip.winampTimer()->start(3600 * 1000);
    }
    template <typename T> T* child(const char* name) {
        return strip.findChild<T*>(QLatin1String(name));
    }
    QLabel* time() { return child<QLabel>("WinampTime"); }
    QLabel* title() { return child<QLabel>("WinampTitle"); }
    QSlider* songBar() { return child<QSlider>("SongBar"); }
    QSlider* left() { return child<QSlider>("LeftVolume"); }
    QSlider* right() { return child<QSlider>("RightVolume"); }

    MprisPlayer bus;
    WAIPC ipc;
    FakeShell shell;
    PlayerStrip strip;
};

} // namespace

class TestStrip : public QObject {
    Q_OBJECT

private slots:
    void tick_data();
    void tick();
    void playerLeavingHidesTheTitleAndKeepsTheBar();
    void playerRunningIsTheTitleFlag();
    void hungPlayerLeavesTheStripAtOnce();
    void seekBarDragJumpsOnRelease();
    void seekBarByMouse_data();
    void seekBarByMouse();
    void transportButtons_data();
    void transportButtons();
    void volumeBarsMoveTheRealSink_data();
    void volumeBarsMoveTheRealSink();
    void balanceCheckEvensTheBars();
    void readVolumeAtStart_data();
    void readVolumeAtStart();
    void newTitleReappliesTheVolume_data();
    void newTitleReappliesTheVolume();
    void withoutSoundServerNothingIsWrittenUnasked();
    void image2OpensThePlayerInterfacePage();
    void captionsNameThePlayer_data();
    void captionsNameThePlayer();

private:
    QString nextName() { return QStringLiteral("strip%1").arg(++m_counter); }
    int m_counter = 0;
};

void TestStrip::tick_data() {
    QTest::addColumn<qlonglong>("positionUs");
    QTest::addColumn<qlonglong>("lengthUs");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("barMaximum");
    QTest::addColumn<int>("barPosition");
    QTest::newRow("61.5 s of 245 s") << 61500000LL << 245000000LL << QStringLiteral("1:01")
                                     << QStringLiteral("Band - Song <4:05>") << 245 << 61;
    QTest::newRow("length below 1 keeps the designed 60")
        << 5000000LL << 900000LL << QStringLiteral("0:05") << QStringLiteral("Band - Song <1:00>")
        << 60 << 5;
    QTest::newRow("position beyond the length")
        << 200000000LL << 90000000LL << QStringLiteral("3:20")
        << QStringLiteral("Band - Song <1:30>") << 90 << 90;
    QTest::newRow("an hour and more") << 3723000000LL << 7200000000LL << QStringLiteral("62:03")
                                      << QStringLiteral("Band - Song <120:00>") << 7200 << 3723;
}

void TestStrip::tick() {
    QFETCH(qlonglong, positionUs);
    QFETCH(qlonglong, lengthUs);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {QStringLiteral("Band")}, {}, lengthUs);
    player.setPosition(positionUs);

    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.WinampTimerTimer();
    QTEST(s.time()->text(), "time");
    QTEST(s.title()->text(), "title");
    QVERIFY(!s.title()->isHidden());
    QTEST(s.songBar()->maximum(), "barMaximum");
    QTEST(s.songBar()->value(), "barPosition");
    QCOMPARE(s.strip.lastWinampTitle(), s.title()->text());
}

void TestStrip::playerLeavingHidesTheTitleAndKeepsTheBar() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 245000000);
    player.setPosition(61500000);
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.WinampTimerTimer();
    QCOMPARE(s.songBar()->maximum(), 245);

    player.kill();
    s.strip.WinampTimerTimer();
    QCOMPARE(s.time()->text(), QStringLiteral("0:00"));
    QVERIFY(s.title()->isHidden());
    QCOMPARE(s.songBar()->maximum(), 245);
    QCOMPARE(s.songBar()->value(), 1);
}

void TestStrip::playerRunningIsTheTitleFlag() {
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.WinampTimerTimer();
    QVERIFY(!s.strip.playerRunning());

    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    // The strip is never shown here, as when the window sits in the tray: the test is
    // the title line's own flag, not whether it can be seen.
    s.strip.WinampTimerTimer();
    QVERIFY(s.strip.playerRunning());
    player.kill();
    s.strip.WinampTimerTimer();
    QVERIFY(!s.strip.playerRunning());
}

void TestStrip::hungPlayerLeavesTheStripAtOnce() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 245000000);
    player.setPosition(61500000);
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.WinampTimerTimer();
    QVERIFY(s.strip.playerRunning());

    // A tick that waited for this player would show its answers three seconds later;
    // one that does not wait shows no player.
    player.setHang(3000);
    s.strip.WinampTimerTimer();
    QVERIFY(!s.strip.playerRunning());
    QCOMPARE(s.time()->text(), QStringLiteral("0:00"));
    // A click on a button is handled at once as well.
    s.child<QPushButton>("BitBtn3")->click();

    player.setHang(0);
    QTRY_VERIFY_WITH_TIMEOUT((s.strip.WinampTimerTimer(), s.strip.playerRunning()), 15000);
    QCOMPARE(s.time()->text(), QStringLiteral("1:01"));
}

void TestStrip::seekBarDragJumpsOnRelease() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 245000000, QStringLiteral("/track/9"));
    player.setPosition(10000000);
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.strip));
    s.strip.WinampTimerTimer();
    QCOMPARE(s.time()->text(), QStringLiteral("0:10"));

    // While the timer runs a change of the bar leaves the time alone.
    s.songBar()->setValue(20);
    QCOMPARE(s.time()->text(), QStringLiteral("0:10"));

    QSlider* bar = s.songBar();
    QTest::mousePress(bar, Qt::LeftButton, {}, bar->rect().center());
    QVERIFY(!s.strip.winampTimer()->isActive());
    bar->setValue(90);
    QCOMPARE(s.time()->text(), QStringLiteral("1:30"));
    QVERIFY(player.commands().isEmpty());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->rect().center());
    QCOMPARE(player.commands(), QStringList{QStringLiteral("SetPosition /track/9 90000000")});
    QVERIFY(s.strip.winampTimer()->isActive());
}

// A drag of the handle seeks to where it is let go, also one that starts right after a
// click (its press comes as a double click); a click beside the handle moves a page.
void TestStrip::seekBarByMouse_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("seconds"); // where the player is sent, of 244
    QTest::newRow("drag the handle") << "drag" << 183;
    QTest::newRow("drag right after a click") << "click, drag" << 183;
    QTest::newRow("click on the bar") << "page" << 112;
}

void TestStrip::seekBarByMouse() {
    QFETCH(QString, how);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 244000000, QStringLiteral("/track/9"));
    player.setPosition(122000000); // the handle in the middle of the bar
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.strip));
    s.strip.WinampTimerTimer();
    QSlider* bar = s.songBar();
    const QPoint handle = bar->rect().center();
    const QPoint to(bar->width() * 3 / 4, handle.y());
    if (how == "page")
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 4, handle.y()));
    if (how == "click, drag") {
        QTest::mouseClick(bar, Qt::LeftButton, {}, handle);
        player.clearCalls();
        QTest::mouseDClick(bar, Qt::LeftButton, {}, handle); // as X delivers the next press
    } else if (how == "drag") {
        QTest::mousePress(bar, Qt::LeftButton, {}, handle);
    }
    if (how != "page") {
        QTest::mouseMove(bar, (handle + to) / 2);
        QTest::mouseMove(bar, to);
        // The player is not polled while the handle is held; a poll under way does not
        // take the handle back.
        QVERIFY(!s.strip.winampTimer()->isActive());
        s.strip.WinampTimerTimer();
        QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    }
    QFETCH(int, seconds);
    QVERIFY2(std::abs(bar->value() - seconds) <= 3, qPrintable(QString::number(bar->value())));
    QCOMPARE(
        player.commands(),
        QStringList{QStringLiteral("SetPosition /track/9 %1").arg(qint64(bar->value()) * 1000000)});
    QVERIFY(s.strip.winampTimer()->isActive());
}

void TestStrip::transportButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("command");
    QTest::newRow("previous") << QStringLiteral("BitBtn2") << QStringLiteral("Previous");
    QTest::newRow("play") << QStringLiteral("BitBtn3") << QStringLiteral("Play");
    QTest::newRow("pause") << QStringLiteral("BitBtn4") << QStringLiteral("PlayPause");
    QTest::newRow("stop") << QStringLiteral("BitBtn5") << QStringLiteral("Stop");
    QTest::newRow("next") << QStringLiteral("BitBtn6") << QStringLiteral("Next");
}

void TestStrip::transportButtons() {
    QFETCH(QString, button);
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    FakeSystemVolume volume;
    Strip s(volume);
    auto* b = s.strip.findChild<QPushButton*>(button);
    QVERIFY(b);
    QVERIFY(!b->icon().isNull());
    b->click();
    QTEST(player.commands().join(QLatin1Char('|')), "command");
}

void TestStrip::volumeBarsMoveTheRealSink_data() {
    QTest::addColumn<bool>("balanced");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("leftLabel");
    QTest::addColumn<QString>("rightLabel");
    // The bars start at 10000 (left) and 20000 (right).
    QTest::newRow("balanced, left moved") << true << QStringLiteral("LeftVolume") << 32768 << 32768
                                          << 32768 << QStringLiteral("50") << QStringLiteral("50");
    QTest::newRow("balanced, right moved")
        << true << QStringLiteral("RightVolume") << 65535 << 65535 << 65535 << QStringLiteral("100")
        << QStringLiteral("100");
    QTest::newRow("unbalanced, left moved")
        << false << QStringLiteral("LeftVolume") << 32768 << 32768 << 20000 << QStringLiteral("50")
        << QStringLiteral("30");
    QTest::newRow("unbalanced, right moved")
        << false << QStringLiteral("RightVolume") << 654 << 10000 << 654 << QStringLiteral("15")
        << QStringLiteral("0");
}

void TestStrip::volumeBarsMoveTheRealSink() {
    QFETCH(bool, balanced);
    QFETCH(QString, bar);
    QFETCH(int, position);
    QFETCH(int, left);
    QFETCH(int, right);
    PulseVolume volume;
    Strip s(volume);
    s.strip.setBalanced(false);
    s.left()->setValue(10000);
    s.right()->setValue(20000);
    s.strip.setBalanced(balanced);

    s.strip.findChild<QSlider*>(bar)->setValue(position);
    QCOMPARE(s.left()->value(), left);
    QCOMPARE(s.right()->value(), right);
    const auto sink = defaultSinkVolume();
    QVERIFY(sink.has_value());
    QCOMPARE(sink->frontLeft, int(PulseVolume::toServerVolume(left)));
    QCOMPARE(sink->frontRight, int(PulseVolume::toServerVolume(right)));
    QTEST(s.child<QLabel>("LeftVol")->text(), "leftLabel");
    QTEST(s.child<QLabel>("RightVol")->text(), "rightLabel");
}

void TestStrip::balanceCheckEvensTheBars() {
    PulseVolume volume;
    Strip s(volume);
    auto* check = s.child<QCheckBox>("BalanceCheck");
    QVERIFY(check->isChecked());
    QCOMPARE(check->text(), QStringLiteral("Balanced Vol&ume"));
    s.strip.setBalanced(false);
    s.left()->setValue(45000);
    s.right()->setValue(5000);

    // Unchecking changes nothing; checking takes the left bar's level for both.
    check->click();
    QVERIFY(s.strip.balanced());
    QCOMPARE(s.right()->value(), 45000);
    QCOMPARE(defaultSinkVolume()->frontRight, int(PulseVolume::toServerVolume(45000)));
    check->click();
    QVERIFY(!s.strip.balanced());
    QCOMPARE(s.left()->value(), 45000);
    QCOMPARE(s.right()->value(), 45000);
}

// Reading the output at start never writes it back, nor does a new title line: a
// channel louder than full (a boost) shows its bar at the end and keeps its level
// until the user moves a bar that sets it.
void TestStrip::readVolumeAtStart_data() {
    QTest::addColumn<bool>("balanced");
    QTest::addColumn<int>("left"); // the sink's channels, raw
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("leftBar");
    QTest::newRow("balanced: both bars at the right channel")
        << true << 19661 << 39322 << PulseVolume::toPosition(39322);
    QTest::newRow("unbalanced: as read")
        << false << 19661 << 39322 << PulseVolume::toPosition(19661);
    QTest::newRow("unbalanced, the left boosted") << false << 98304 << 39322 << 65535;
    QTest::newRow("balanced, the right boosted") << true << 32768 << 98304 << 65535;
}

void TestStrip::readVolumeAtStart() {
    QFETCH(bool, balanced);
    QFETCH(int, left);
    QFETCH(int, right);
    QVERIFY(setDefaultSinkVolume({left, right}));
    PulseVolume volume;
    Strip s(volume);
    s.strip.setBalanced(balanced);
    s.strip.ReadVolume();
    s.strip.WinampTimerTimer(); // a first title line
    QTEST(s.left()->value(), "leftBar");
    QCOMPARE(s.right()->value(), PulseVolume::toPosition(unsigned(right)));
    auto sink = defaultSinkVolume();
    QCOMPARE(sink->frontLeft, left);
    QCOMPARE(sink->frontRight, right);

    // The user moves the right bar: balanced, both channels follow it; unbalanced,
    // the left keeps its level.
    QTest::keyClick(s.right(), Qt::Key_PageDown);
    const int moved = s.right()->value();
    sink = defaultSinkVolume();
    QCOMPARE(sink->frontRight, int(PulseVolume::toServerVolume(moved)));
    QCOMPARE(sink->frontLeft, balanced ? int(PulseVolume::toServerVolume(moved)) : left);
}

void TestStrip::newTitleReappliesTheVolume_data() {
    QTest::addColumn<bool>("pipeWire");
    QTest::newRow("PulseAudio") << false;
    QTest::newRow("PipeWire's PulseAudio service") << true;
}

// The bars follow a change made elsewhere (keys, the desktop's mixer), so a new title
// re-applies what the output has, never the level the user had set before.
void TestStrip::newTitleReappliesTheVolume() {
    QFETCH(bool, pipeWire);
    std::optional<PipeWirePulse> server;
    if (pipeWire) {
        server.emplace();
        if (!server->problem().isEmpty())
            QSKIP(qPrintable(server->problem()));
    }
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("First"), {}, {}, 245000000);
    PulseVolume volume;
    Strip s(volume);
    s.strip.setBalanced(false);
    s.strip.ReadVolume();
    s.left()->setValue(32768);
    s.right()->setValue(32768);
    s.strip.WinampTimerTimer();
    QCOMPARE(defaultSinkVolume()->frontLeft, int(PulseVolume::toServerVolume(32768)));

    QVERIFY(setDefaultSinkVolume({6554, 13107}));
    QTRY_COMPARE_WITH_TIMEOUT((s.strip.WinampTimerTimer(), s.left()->value()),
                              PulseVolume::toPosition(6554), 10000);
    QCOMPARE(s.right()->value(), PulseVolume::toPosition(13107));
    QCOMPARE(s.child<QLabel>("LeftVol")->text(), QStringLiteral("10"));

    player.setTrack(QStringLiteral("Second"), {}, {}, 245000000);
    s.strip.WinampTimerTimer();
    QVERIFY(s.strip.lastWinampTitle().startsWith(QStringLiteral("Second")));
    QCOMPARE(defaultSinkVolume()->frontLeft, 6554);
    QCOMPARE(defaultSinkVolume()->frontRight, 13107);

    // The user's next move is written as ever.
    s.left()->setValue(45000);
    QCOMPARE(defaultSinkVolume()->frontLeft, int(PulseVolume::toServerVolume(45000)));
    QCOMPARE(defaultSinkVolume()->frontRight, 13107);
}

void TestStrip::withoutSoundServerNothingIsWrittenUnasked() {
    FakeMprisPlayer player(nextName());
    QVERIFY(player.start());
    player.setTrack(QStringLiteral("Song"), {}, {}, 245000000);
    FakeSystemVolume volume; // answers nothing, as a missing server
    Strip s(volume);
    s.strip.ReadVolume();
    QCOMPARE(s.left()->value(), 0);
    QCOMPARE(s.right()->value(), 0);
    QCOMPARE(s.child<QLabel>("LeftVol")->text(), QStringLiteral("0"));

    // A new title would write the bars' zero over an output that shows up later.
    s.strip.WinampTimerTimer();
    QVERIFY(s.strip.playerRunning());
    QVERIFY(volume.writes.isEmpty());

    // A move by the user is the user's volume, refused or not.
    s.right()->setValue(32768);
    QVERIFY(!volume.writes.isEmpty());
    QCOMPARE(volume.writes.constLast(), (StereoVolume{32768, 32768}));
    QCOMPARE(s.child<QLabel>("LeftVol")->text(), QStringLiteral("50"));
    volume.writes.clear();
    player.setTrack(QStringLiteral("Next song"), {}, {}, 245000000);
    s.strip.WinampTimerTimer();
    QCOMPARE(volume.writes, (QList<StereoVolume>{{32768, 32768}}));
}

void TestStrip::image2OpensThePlayerInterfacePage() {
    FakeSystemVolume volume;
    Strip s(volume);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.strip));
    auto* image = s.child<QLabel>("Image2");
    QCOMPARE(image->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(image, Qt::LeftButton);
    QCOMPARE(s.shell.urls, QList<QUrl>{PlayerStrip::PlayerInterfacePage});
    QVERIFY(s.shell.documents.isEmpty());
}

void TestStrip::captionsNameThePlayer_data() {
    QTest::addColumn<QString>("identity"); // empty: no player
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("menu");
    QTest::newRow("no player") << QString() << QStringLiteral("Player:")
                               << QStringLiteral("&Add Song(s) to Player (F1)");
    QTest::newRow("mpv") << QStringLiteral("mpv") << QStringLiteral("mpv:")
                         << QStringLiteral("&Add Song(s) to mpv (F1)");
    QTest::newRow("an ampersand is no shortcut")
        << QStringLiteral("Rock & Play") << QStringLiteral("Rock && Play:")
        << QStringLiteral("&Add Song(s) to Rock && Play (F1)");
}

void TestStrip::captionsNameThePlayer() {
    QFETCH(QString, identity);
    std::optional<FakeMprisPlayer> player;
    if (!identity.isEmpty()) {
        player.emplace(nextName(), QStringList{QStringLiteral("--identity"), identity});
        QVERIFY(player->start());
    }
    windowtest::WindowRig rig;
    MprisPlayer bus;
    TForm1Services services{rig.homePath(), &rig.settings, &rig.shell, &rig.dialogs,
                            &bus,           &rig.volume,   &rig.runner};
    TForm1 form(services);
    PlayerStrip* strip = form.Strip();
    auto* menuEntry = form.findChild<QAction*>(QStringLiteral("AddSongWinamp"));
    QVERIFY(menuEntry);
    QVERIFY(strip);
    strip->winampTimer()->start(3600 * 1000);
    strip->WinampTimerTimer();
    QTEST(strip->title(), "title");
    QTEST(menuEntry->text(), "menu");
    if (player) {
        player->kill();
        strip->WinampTimerTimer();
        QCOMPARE(strip->title(), QStringLiteral("Player:"));
        QCOMPARE(menuEntry->text(), QStringLiteral("&Add Song(s) to Player (F1)"));
    }
}

QTEST_MAIN(TestStrip)
#include "tst_ui_playerstrip.moc"
