// Playlists and playback: the dynamic playlist on disk, the shuffle, opening songs,
// saving and loading, and the enqueue command against a private session bus with a
// recording player and a real program run for the command template.
#include "PlaylistGroup.h"

#include "fakes/FakeMprisPlayer.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeUserDialogs.h"
#include "platform/MprisPlayer.h"
#include "platform/ProcessRunner.h"
#include "player/Enqueue.h"
#include "player/Playback.h"
#include "player/WAIPC.h"
#include "store/StoreError.h"
#include "support/Fixtures.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <unistd.h>

using namespace lorvane;
using namespace lorvane::test;

namespace {

// A folder of songs and artist files for one test.
struct Collection {
    Collection() : home(QFile::encodeName(dir.path()) + '/') {}
    QByteArray song(const QByteArray& name) {
        QByteArray path = home + name;
        coretest::writeBytes(path, "ID3");
        return path;
    }
    QByteArray missing(const QByteArray& name) const { return home + "gone/" + name; }
    QByteArray playlist() const { return home + "Dynamic.m3u"; }

    QTemporaryDir dir;
    QByteArray home;
};

// The group with its services; the window's side is the lists below.
struct Group {
    Group() : ipc(bus), group(ipc, shell, runner, dialogs) {
        group.setSources({[this] { return selectedSongs; },
                          [this]() -> std::optional<QByteArray> {
                              if (!songListFilled)
                                  return std::nullopt;
                              return focusedSong;
                          },
                          [this] { return selectedArtists; }, [this] { return playerRunning; },
                          [this](const QString& text) { status = text; }});
    }

    MprisPlayer bus;
    WAIPC ipc;
    FakeShell shell;
    ProcessRunner runner;
    FakeUserDialogs dialogs;
    PlaylistGroup group;

    QByteArrayList selectedSongs;
    bool songListFilled = true;
    QByteArray focusedSong;
    QByteArrayList selectedArtists;
    bool playerRunning = false;
    QString status;
};

// Answers the next file dialog of the group with a file, or cancels it.
void answerDialog(PlaylistGroup& group, const char* name, const QString& file, QString* titleSeen) {
    QTimer::singleShot(0, &group, [&group, name, file, titleSeen] {
        auto* dialog = group.findChild<QFileDialog*>(QLatin1String(name));
        QVERIFY(dialog);
        *titleSeen = dialog->windowTitle();
        if (file.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name field, as a user does.
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(field);
        field->setText(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

class TestPlaylist : public QObject {
    Q_OBJECT

private slots:
    void playSongsWritesExistingSongsInListOrder();
    void playSongsWithNothingOnDiskDoesNothing();
    void playlistKeepsExactPathBytes();
    void playArtistsReadsEachArtistFile();
    void shuffleKeepsEveryLineOnce_data();
    void shuffleKeepsEveryLineOnce();
    void randomPlaylistIsShuffledOnDisk();
    void loadPlaysInStoredOrder();
    void unwritableHomeShowsTheFileError();
    void openSong_data();
    void openSong();
    void enterInTheSongList_data();
    void enterInTheSongList();
    void saveCopiesTheLastPlaylist();
    void saveAndLoadThroughTheDialogs();
    void enqueueCommandLine_data();
    void enqueueCommandLine();
    void enqueueWithoutRunningPlayerDoesNothing();
    void enqueueReachesTheTrackList();
    void enqueueRunsTheCommandTemplate();
    void enqueueNowhereSaysSo();
    void playlistNothingCanPlay_data();
    void playlistNothingCanPlay();
};

void TestPlaylist::playSongsWritesExistingSongsInListOrder() {
    Collection c;
    coretest::writeBytes(c.playlist(), "old line that is longer than the new playlist\r\n");
    Group g;
    g.group.setDataHome(c.home);
    g.selectedSongs = {c.song("b.mp3"), c.missing("x.mp3"), c.song("a.mp3")};
    g.group.findChild<QPushButton*>(QStringLiteral("PlaySongs"))->click();
    QCOMPARE(coretest::readBytes(c.playlist()), c.home + "b.mp3\r\n" + c.home + "a.mp3\r\n");
    QCOMPARE(g.shell.documents, QByteArrayList{c.playlist()});
}

void TestPlaylist::playSongsWithNothingOnDiskDoesNothing() {
    Collection c;
    coretest::writeBytes(c.playlist(), "last\r\n");
    Group g;
    g.group.setDataHome(c.home);
    // "null" and "" are what an entry that cannot be resolved gives; they name no
    // file, not even one called "null" in the current folder.
    g.selectedSongs = {c.missing("x.mp3"), "null", "", c.home};
    coretest::writeBytes(c.home + "null", "not a song");
    const QString here = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QFile::decodeName(c.home)));
    g.group.PlaySongsClick();
    QDir::setCurrent(here);
    QCOMPARE(coretest::readBytes(c.playlist()), QByteArray("last\r\n"));
    QVERIFY(g.shell.documents.isEmpty());
}

void TestPlaylist::playlistKeepsExactPathBytes() {
    Collection c;
    const QByteArray odd = c.song("caf\xe9 \xff.mp3"); // Latin-1 bytes, not UTF-8
    Group g;
    g.group.setDataHome(c.home);
    g.selectedSongs = {odd};
    g.group.PlaySongsClick();
    QCOMPARE(coretest::readBytes(c.playlist()), odd + "\r\n");
    // QTemporaryDir cannot remove a name that is not UTF-8.
    QCOMPARE(::unlink(odd.constData()), 0);
}

void TestPlaylist::playArtistsReadsEachArtistFile() {
    Collection c;
    const QByteArray a1 = c.song("a1.mp3"), a2 = c.song("a2.mp3"), b1 = c.song("b1.mp3");
    // Line ends as other programs leave them: CR LF, lone LF, lone CR, none at the end.
    coretest::writeBytes(c.home + "A.lvn", a2 + "\r\n" + c.missing("a3.mp3") + "\n" + a1);
    coretest::writeBytes(c.home + "B.lvn", b1 + "\r");
    Group g;
    g.group.setDataHome(c.home);
    // An artist added by name has no file yet; it adds nothing and stops nothing.
    g.selectedArtists = {c.home + "B.lvn", c.home + "New Artist.lvn", c.home + "A.lvn"};
    g.group.findChild<QPushButton*>(QStringLiteral("PlayArtists"))->click();
    QCOMPARE(coretest::readBytes(c.playlist()), b1 + "\r\n" + a2 + "\r\n" + a1 + "\r\n");
    QCOMPARE(g.shell.documents, QByteArrayList{c.playlist()});
    QVERIFY(g.dialogs.shown.isEmpty());
}

void TestPlaylist::shuffleKeepsEveryLineOnce_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("fifty") << 50;
}

void TestPlaylist::shuffleKeepsEveryLineOnce() {
    QFETCH(int, count);
    QByteArrayList lines;
    for (int i = 0; i < count; ++i)
        lines.append("song" + QByteArray::number(i));
    QRandomGenerator generator(4711);
    QByteArrayList shuffled = Playback::Shuffled(lines, generator);
    QCOMPARE(shuffled.size(), lines.size());
    if (count >= 50)
        QVERIFY(shuffled != lines);
    std::sort(shuffled.begin(), shuffled.end());
    std::sort(lines.begin(), lines.end());
    QCOMPARE(shuffled, lines);
}

void TestPlaylist::randomPlaylistIsShuffledOnDisk() {
    Collection c;
    QByteArrayList songs;
    for (int i = 0; i < 30; ++i)
        songs.append(c.song("s" + QByteArray::number(i) + ".mp3"));
    Group g;
    g.group.setDataHome(c.home);
    QRandomGenerator generator(12345);
    g.group.playback().setRandomGenerator(&generator);
    g.group.findChild<QCheckBox*>(QStringLiteral("RandomPlaylist"))->click();
    QVERIFY(g.group.random());
    g.selectedSongs = songs;
    g.group.PlaySongsClick();

    const QByteArray written = coretest::readBytes(c.playlist());
    QVERIFY(written.endsWith("\r\n"));
    QByteArrayList lines = written.split('\n');
    QVERIFY(lines.takeLast().isEmpty());
    for (QByteArray& line : lines) {
        QVERIFY(line.endsWith('\r'));
        line.chop(1);
    }
    QVERIFY(lines != songs);
    std::sort(lines.begin(), lines.end());
    std::sort(songs.begin(), songs.end());
    QCOMPARE(lines, songs);
    QCOMPARE(g.shell.documents, QByteArrayList{c.playlist()});
}

void TestPlaylist::loadPlaysInStoredOrder() {
    Collection c;
    const QByteArray list = c.home + "party.m3u";
    const QByteArray content = "/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n/m/4.mp3\r\n/m/5.mp3\r\n";
    coretest::writeBytes(list, content);
    Group g;
    g.group.setRandom(true);
    QString title;
    answerDialog(g.group, "OpenM3U", QFile::decodeName(list), &title);
    g.group.findChild<QPushButton*>(QStringLiteral("Button7"))->click();
    QCOMPARE(title, QStringLiteral("Load and Play a Playlist"));
    QCOMPARE(coretest::readBytes(list), content);
    QCOMPARE(g.shell.documents, QByteArrayList{list});
}

void TestPlaylist::unwritableHomeShowsTheFileError() {
    Collection c;
    Group g;
    g.group.setDataHome(c.home + "no such folder/");
    g.selectedSongs = {c.song("a.mp3")};
    g.group.PlaySongsClick();
    QCOMPARE(g.dialogs.shown.size(), 1);
    QCOMPARE(g.dialogs.shown.constFirst().kind, QStringLiteral("error"));
    QVERIFY(g.dialogs.shown.constFirst().text.startsWith(QStringLiteral("Cannot create file")));
    QVERIFY(g.shell.documents.isEmpty());
}

void TestPlaylist::openSong_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("listFilled");
    QTest::newRow("existing song") << QByteArray("a.mp3") << true << true;
    QTest::newRow("missing song") << QByteArray("gone.mp3") << false << true;
    QTest::newRow("a folder is no song") << QByteArray("folder") << false << true;
    QTest::newRow("empty song list") << QByteArray() << false << false;
}

void TestPlaylist::openSong() {
    QFETCH(QByteArray, name);
    QFETCH(bool, exists);
    QFETCH(bool, listFilled);
    Collection c;
    QVERIFY(QDir(c.dir.path()).mkdir(QStringLiteral("folder")));
    Group g;
    g.group.setDataHome(c.home);
    g.songListFilled = listFilled;
    g.focusedSong = exists ? c.song(name) : c.home + name;
    g.group.SongListDblClick();
    QCOMPARE(g.shell.documents, exists ? QByteArrayList{g.focusedSong} : QByteArrayList());
    QCOMPARE(g.dialogs.texts(), exists || !listFilled
                                    ? QStringList()
                                    : QStringList{QStringLiteral("File doesn't exist!")});
}

void TestPlaylist::enterInTheSongList_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("opensTheSong");
    QTest::addColumn<bool>("playsTheList");
    QTest::newRow("one song opens it") << 1 << true << false;
    QTest::newRow("two songs play") << 2 << false << true;
    QTest::newRow("none selected plays nothing") << 0 << false << false;
}

void TestPlaylist::enterInTheSongList() {
    QFETCH(int, selected);
    Collection c;
    Group g;
    g.group.setDataHome(c.home);
    g.focusedSong = c.song("focused.mp3");
    const QByteArrayList songs{c.song("one.mp3"), c.song("two.mp3")};
    g.selectedSongs = songs.mid(0, selected);
    g.group.SongListEnterPressed();
    QFETCH(bool, opensTheSong);
    QFETCH(bool, playsTheList);
    QCOMPARE(g.shell.documents.contains(g.focusedSong), opensTheSong);
    QCOMPARE(g.shell.documents.contains(c.playlist()), playsTheList);
}

void TestPlaylist::saveCopiesTheLastPlaylist() {
    Collection c;
    FakeShell shell;
    Playback playback(shell, c.home);
    const QByteArray target = c.home + "saved.m3u";
    coretest::writeBytes(target, "a much longer earlier playlist that must go\r\n");
    // No dynamic playlist yet: the copy fails quietly and the target stays.
    QVERIFY(!playback.SaveLastPlaylist(target));
    QCOMPARE(coretest::readBytes(target),
             QByteArray("a much longer earlier playlist that must go\r\n"));

    const QByteArray content = "/m/\xff.mp3\r\n/m/b.mp3\r\n";
    coretest::writeBytes(c.playlist(), content);
    QVERIFY(playback.SaveLastPlaylist(target));
    QCOMPARE(coretest::readBytes(target), content);
}

void TestPlaylist::saveAndLoadThroughTheDialogs() {
    Collection c;
    QVERIFY(QDir(c.dir.path()).mkpath(QStringLiteral("lists")));
    coretest::writeBytes(c.playlist(), "/m/a.mp3\r\n");
    Group g;
    g.group.setDataHome(c.home);
    g.group.setSaveFolder(c.dir.path());
    QString title;

    answerDialog(g.group, "SaveM3U", QString(), &title);
    g.group.Button5Click();
    QCOMPARE(title, QStringLiteral("Save Last Dynamic Playlist"));
    QVERIFY(!g.group.savedFolder().has_value());

    const QString target = c.dir.path() + QStringLiteral("/lists/mine.m3u");
    answerDialog(g.group, "SaveM3U", target, &title);
    g.group.Button5Click();
    QCOMPARE(coretest::readBytes(QFile::encodeName(target)), QByteArray("/m/a.mp3\r\n"));
    QCOMPARE(g.group.savedFolder(),
             std::optional<QString>(c.dir.path() + QStringLiteral("/lists")));
    QVERIFY(!g.group.loadedFolder().has_value());

    answerDialog(g.group, "OpenM3U", target, &title);
    g.group.Button7Click();
    QCOMPARE(g.group.loadedFolder(), g.group.savedFolder());
    QCOMPARE(g.shell.documents, QByteArrayList{QFile::encodeName(target)});
}

void TestPlaylist::enqueueCommandLine_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArrayList>("argv");
    const QByteArray odd = "/m/it's \"odd\" %1 \xff.mp3";
    QTest::newRow("quoted program and argument")
        << QStringLiteral("\"/opt/my player/player\" /ADD \"%1\"") << QByteArray("/m/a b.mp3")
        << QByteArrayList{"/opt/my player/player", "/ADD", "/m/a b.mp3"};
    QTest::newRow("inside a word")
        << QStringLiteral("player --enqueue=%1") << QByteArray("/m/a.mp3")
        << QByteArrayList{"player", "--enqueue=/m/a.mp3"};
    QTest::newRow("no %1: the path comes last")
        << QStringLiteral("player --add") << QByteArray("/m/a.mp3")
        << QByteArrayList{"player", "--add", "/m/a.mp3"};
    QTest::newRow("path bytes stay as they are")
        << QStringLiteral("player %1") << odd << QByteArrayList{"player", odd};
    QTest::newRow("empty template")
        << QStringLiteral("  ") << QByteArray("/m/a.mp3") << QByteArrayList();
}

void TestPlaylist::enqueueCommandLine() {
    QFETCH(QString, command);
    QFETCH(QByteArray, path);
    const auto argv = EnqueueCommandLine(command, path);
    QTEST(QByteArrayList(argv.begin(), argv.end()), "argv");
}

void TestPlaylist::enqueueWithoutRunningPlayerDoesNothing() {
    Collection c;
    FakeMprisPlayer player(QStringLiteral("playlist_none"), {QStringLiteral("--tracklist")});
    QVERIFY(player.start());
    Group g;
    g.group.setEnqueueCommand(QStringLiteral("/bin/touch %1"));
    g.selectedSongs = {c.home + "touched"};
    // The title line is hidden: as far as the window knows no player runs.
    g.playerRunning = false;
    g.group.AddSongWinampClick();
    QVERIFY(player.commands().isEmpty());
    QTest::qWait(200);
    QVERIFY(!QFile::exists(QFile::decodeName(c.home + "touched")));
}

void TestPlaylist::enqueueReachesTheTrackList() {
    Collection c;
    FakeMprisPlayer player(QStringLiteral("playlist_tracks"), {QStringLiteral("--tracklist")});
    QVERIFY(player.start());
    Group g;
    g.group.setEnqueueCommand(QStringLiteral("/bin/touch %1"));
    g.playerRunning = true;
    g.selectedSongs = {"music/a b.mp3", "", "null", "/x/\xff#?.mp3"};
    g.group.AddSongWinampClick();
    const QByteArray cwd = QFile::encodeName(QDir::currentPath()).toPercentEncoding("/");
    QCOMPARE(player.trackUris(), (QStringList{QStringLiteral("file://") + QString::fromLatin1(cwd) +
                                                  QStringLiteral("/music/a%20b.mp3"),
                                              QStringLiteral("file:///x/%FF%23%3F.mp3")}));
}

void TestPlaylist::enqueueRunsTheCommandTemplate() {
    Collection c;
    // A program that records its arguments, one file per run.
    QVERIFY(QDir(c.dir.path()).mkpath(QStringLiteral("my player/runs")));
    const QString script = c.dir.path() + QStringLiteral("/my player/record.sh");
    coretest::writeBytes(QFile::encodeName(script),
                         "#!/bin/sh\n"
                         "d=\"$(dirname \"$0\")/runs\"\n"
                         "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$d/.$$\"\n"
                         "mv \"$d/.$$\" \"$d/$$\"\n");
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    FakeMprisPlayer player(QStringLiteral("playlist_command"));
    QVERIFY(player.start());
    Group g;
    g.group.setEnqueueCommand(QLatin1Char('"') + script + QStringLiteral("\" --add \"%1\""));
    g.playerRunning = true;
    const QByteArray first = c.home + "Some Band - It's \"Live\" $HOME.mp3";
    const QByteArray second = c.home + "caf\xe9 \xff %1.mp3";
    g.selectedSongs = {first, second};
    g.group.AddSongWinampClick();

    QDir runs(c.dir.path() + QStringLiteral("/my player/runs"));
    QTRY_COMPARE_WITH_TIMEOUT(runs.entryList(QDir::Files).size(), 2, 20000);
    QByteArrayList recorded;
    for (const QString& run : runs.entryList(QDir::Files))
        recorded.append(coretest::readBytes(QFile::encodeName(runs.filePath(run))));
    std::sort(recorded.begin(), recorded.end());
    QByteArrayList expected{"--add" + QByteArray(1, '\0') + first + QByteArray(1, '\0'),
                            "--add" + QByteArray(1, '\0') + second + QByteArray(1, '\0')};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(recorded, expected);
    QVERIFY(player.commands().isEmpty());
}

void TestPlaylist::enqueueNowhereSaysSo() {
    FakeMprisPlayer player(QStringLiteral("playlist_nowhere"),
                           {QStringLiteral("--identity"), QStringLiteral("Tiny Player")});
    QVERIFY(player.start());
    Group g;
    g.playerRunning = true;
    g.selectedSongs = {"/m/a.mp3"};
    g.group.AddSongWinampClick();
    QCOMPARE(g.status, QStringLiteral("Tiny Player cannot take songs into its list"));
    QVERIFY(player.commands().isEmpty());
}

void TestPlaylist::playlistNothingCanPlay_data() {
    QTest::addColumn<std::optional<QString>>("program");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("message");
    QTest::newRow("no program for playlists")
        << std::optional<QString>(QString()) << true << Playback::NoProgramText;
    QTest::newRow("the opener fails")
        << std::optional<QString>(QStringLiteral("player.desktop")) << false
        << QStringLiteral("The desktop could not open the playlist \"Dynamic.m3u\".");
    QTest::newRow("cannot tell, opened") << std::optional<QString>() << true << QString();
}

void TestPlaylist::playlistNothingCanPlay() {
    QFETCH(std::optional<QString>, program);
    QFETCH(bool, opens);
    QFETCH(QString, message);
    Collection c;
    Group g;
    g.shell.program = program;
    g.shell.opens = opens;
    g.group.setDataHome(c.home);
    g.selectedSongs = {c.song("a.mp3")};
    g.group.PlaySongsClick();
    QCOMPARE(g.shell.documents.size(), program && program->isEmpty() ? 0 : 1);
    QCOMPARE(g.dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(g.dialogs.shown.constFirst().text, message);
}

QTEST_MAIN(TestPlaylist)
#include "tst_ui_playlist.moc"
