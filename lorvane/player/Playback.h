#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>

#include "store/DatabaseLock.h"

class QRandomGenerator;

namespace lorvane {

class Shell;
class WAIPC;

// Playing through the dynamic playlist: the chosen songs are written to
// "Dynamic.m3u" in the data home (shuffled when asked) and handed to the player the
// strip follows when it runs and takes documents over the bus; otherwise the desktop
// opens it with the program set for playlists. The file is kept afterwards, so the
// last one can be saved.
// File errors travel as StoreError ("Cannot create file ...", "Cannot open file ...");
// a playlist that nothing can play is told to the report function.
class Playback {
public:
    static inline const QString PlaylistType = QStringLiteral("audio/x-mpegurl");
    static inline const QString NoProgramText =
        QStringLiteral("No program is set to open playlists (audio/x-mpegurl). Choose one in "
                       "your desktop's default applications.");

    explicit Playback(Shell& shell, QByteArray dataHome = {});

    // The player remote that playlists go to first; none: always the desktop.
    void setPlayer(WAIPC* player) { m_player = player; }
    // Where a playlist that nothing can play is told, for the user.
    void setReport(std::function<void(const QString&)> report) { m_report = std::move(report); }

    void setDataHome(const QByteArray& dataHome) { m_dataHome = dataHome; }
    const QByteArray& dataHome() const { return m_dataHome; }
    QByteArray dynamicPlaylist() const;

    void setRandom(bool random) { m_random = random; }
    bool random() const { return m_random; }
    // Tests fix the generator; by default it is seeded by the system.
    void setRandomGenerator(QRandomGenerator* generator) { m_generator = generator; }

    // Plays the songs whose files exist, in the order given; false when none exists
    // (then no file is written and nothing plays) or nothing took the playlist.
    bool PlaySongs(const QByteArrayList& songPaths);
    // Plays every existing song of the artist files, file by file in the order given.
    // An artist file that does not exist (an artist added by name, no songs yet) adds
    // nothing.
    bool PlayArtists(const QByteArrayList& artistFiles);
    // Shuffles the file in place when random is on, then hands it over; false when
    // nothing took it.
    bool PlayPlaylist(const QByteArray& file);
    // Opens one song; false when its file does not exist.
    bool OpenSong(const QByteArray& path);
    // Copies the last dynamic playlist over target; false when there is none.
    bool SaveLastPlaylist(const QByteArray& target);
    // Hands a playlist over as it stands, never shuffled.
    bool LoadPlaylist(const QByteArray& file);

    // A uniform pick among the remaining lines, one at a time: each line exactly once.
    static QByteArrayList Shuffled(QByteArrayList lines, QRandomGenerator& generator);
    // An existing file that is not a folder, named by a resolved song path.
    static bool FileExists(const QByteArray& path);
    // Whether a song path names a file at all: an entry that cannot be resolved gives
    // "" (no artist file) or "null" (no such line), which name none, not even a file
    // of that name in the current folder.
    static bool NamesASong(const QByteArray& path) { return !path.isEmpty() && path != "null"; }

private:
    // The data home's one-writer lock, which the playlist there is part of (none without
    // a data home).
    DatabaseLock::Hold playlistLock() const;
    bool writeAndPlay(const QByteArrayList& paths);
    bool handOver(const QByteArray& file);
    void report(const QString& text) const;

    Shell& m_shell;
    QByteArray m_dataHome;
    bool m_random = false;
    QRandomGenerator* m_generator = nullptr;
    WAIPC* m_player = nullptr;
    std::function<void(const QString&)> m_report;
};

} // namespace lorvane
