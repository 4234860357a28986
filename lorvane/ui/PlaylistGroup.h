#pragma once

#include "player/Playback.h"

#include <QByteArrayList>
#include <QGroupBox>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFileDialog;

namespace Ui {
class PlaylistGroup;
}

namespace lorvane {

class CommandRunner;
class Shell;
class UserDialogs;
class WAIPC;

// The "Playlist:" group of the main window with the play commands, the random
// switch and the playlist save and load; it also carries the song list's open and
// enqueue commands, which work on the same selection.
// What it works on comes from its Sources, asked for when a command runs, so a command
// always sees the lists as they are; without a source a command does nothing.
class PlaylistGroup : public QGroupBox {
    Q_OBJECT

public:
    // What only the main window knows, asked for when a command runs.
    struct Sources {
        // SongPathOf of every selected song-list entry, top to bottom.
        std::function<QByteArrayList()> selectedSongs;
        // SongPathOf of the focused song-list entry; nothing when the list is empty.
        std::function<std::optional<QByteArray>()> focusedSong;
        // The artist file (ProgramDir + GenrePath + artist + ".lvn") of every selected
        // artist, top to bottom.
        std::function<QByteArrayList()> selectedArtistFiles;
        // Whether the player runs (PlayerStrip::playerRunning).
        std::function<bool()> playerRunning;
        // Puts a text into the status line.
        std::function<void(const QString&)> showStatus;
    };

    PlaylistGroup(WAIPC& ipc, Shell& shell, CommandRunner& runner, UserDialogs& dialogs,
                  QWidget* parent = nullptr);
    ~PlaylistGroup() override;

    void setSources(Sources sources) { m_sources = std::move(sources); }
    // ProgramDir: "Dynamic.m3u" lives there.
    void setDataHome(const QByteArray& dataHome) { m_playback.setDataHome(dataHome); }
    Playback& playback() { return m_playback; }

    // "Random &Tracks", the setting "random".
    bool random() const;
    void setRandom(bool on);
    // The settings value "enqueuecommand": a command with "%1" for the song's path,
    // used when the player takes no tracks over the bus.
    void setEnqueueCommand(const QString& command) { m_enqueueCommand = command; }

    // The dialogs' starting folders, the settings "savem3u" and "loadm3u".
    void setSaveFolder(const QString& folder);
    void setLoadFolder(const QString& folder);
    // The folder of the playlist last saved or loaded, for writing those settings
    // back; nothing when none was chosen since the start, so they stay as they are.
    std::optional<QString> savedFolder() const { return m_savedFolder; }
    std::optional<QString> loadedFolder() const { return m_loadedFolder; }

public slots:
    void PlaySongsClick();
    void PlayArtistsClick();
    void SongListDblClick();
    // Enter in the song list: one selected song opens as a double-click does, several play
    // as a playlist, none does nothing.
    void SongListEnterPressed();
    void AddSongWinampClick();
    void Button5Click();
    void Button7Click();

private:
    template <typename Command> void run(Command command);

    std::unique_ptr<Ui::PlaylistGroup> ui;
    WAIPC& m_ipc;
    CommandRunner& m_runner;
    UserDialogs& m_dialogs;
    Playback m_playback;
    Sources m_sources;
    QString m_enqueueCommand;
    QFileDialog* SaveM3U;
    QFileDialog* OpenM3U;
    std::optional<QString> m_savedFolder;
    std::optional<QString> m_loadedFolder;
};

} // namespace lorvane
