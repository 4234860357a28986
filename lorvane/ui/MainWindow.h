// MainWindow.h: TForm1, the main window of lorvane: its form's events, each handed to
// the area of the window that owns it.
#pragma once

#include "AddPanel.h"
#include "CollectionLists.h"
#include "GenreCommands.h"
#include "HeldKeys.h"
#include "SongFileCommands.h"
#include "TrayPresence.h"
#include "WindowContext.h"
#include "WindowSettings.h"
#include "store/ArtistStore.h"

#include <QByteArray>
#include <QMainWindow>

#include <memory>

namespace Ui {
class TForm1;
}
class CharsetMenu;
class NamePreviewPanel;
class SongDetailsPanel;
class TRenameForm;

namespace lorvane {
class CommandRunner;
class FileClipboard;
class MediaPlayerBus;
class PlayerStrip;
class PlaylistGroup;
class SettingsStore;
class Shell;
class SystemVolume;
class TaskbarEntry;
class UserDialogs;
class WAIPC;
} // namespace lorvane

// What the main window works with, chosen where the program (or a test) is put together.
struct TForm1Services {
    QByteArray programDir; // the data home, ending in "/"
    lorvane::SettingsStore* settings = nullptr;
    lorvane::Shell* shell = nullptr;
    lorvane::UserDialogs* dialogs = nullptr;
    // The player strip and the playlist group are built only when all three are given.
    lorvane::MediaPlayerBus* playerBus = nullptr;
    lorvane::SystemVolume* volume = nullptr;
    lorvane::CommandRunner* runner = nullptr;
};

// The main window: the three lists of the collection with their totals and commands,
// Find Song, the counts, the add panel, the details panel, the player and the tray, and
// the status line (the window caption). Its handlers forward to the areas that hold the
// commands and their state (CollectionLists, GenreCommands, SongFileCommands, AddPanel,
// WindowSettings, TrayPresence); the window keeps the keys, the popup and its closing.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const TForm1Services& services, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1* ui() const { return m_ui.get(); }
    TRenameForm* RenameForm() const { return m_renameForm; }
    SongDetailsPanel* DetailsPanel() const { return m_details; }
    lorvane::PlayerStrip* Strip() const { return m_strip; }
    lorvane::PlaylistGroup* Playlist() const { return m_playlist; }
    lorvane::ArtistStore& Store() { return m_store; }
    // The areas of the window.
    CollectionLists& Lists() const { return *m_lists; }
    GenreCommands& Genres() const { return *m_genres; }
    SongFileCommands& SongFiles() const { return *m_songFiles; }
    AddPanel& Adding() const { return *m_adding; }
    TrayPresence& Tray() const { return *m_tray; }
    NamePreviewPanel* Preview() const { return m_adding->preview(); }

    // The genre whose artists the artist list shows.
    QByteArray loadedGenre() const { return m_lists->loadedGenre(); }
    // The genre list's selected entry, "" when none.
    QByteArray selectedGenre() const { return m_lists->selectedGenre(); }
    // The focused artist's name, "" when the list is empty.
    QByteArray focusedArtist() const { return m_lists->focusedArtist(); }
    // The pattern switches and separator of the add panel.
    lorvane::NamePatterns patterns() const { return m_context->patterns(); }

    // Settings: what ReadSettings applied, and what WriteSettings would store now.
    const lorvane::SettingsValues& appliedSettings() const { return m_settings->applied(); }
    lorvane::SettingsValues currentSettings() const { return m_settings->current(); }
    void ReadSettings() { m_settings->read(); }
    void WriteSettings() { m_settings->write(); }

    // Puts text into the status line and repaints at once (long operations call it
    // between files; user input waits until the operation ends).
    void showCaption(const QString& text) { m_context->showCaption(text); }

    // Scans root (ending in "/") into the collection and applies the result.
    void AddFromFolder(const QByteArray& root, bool sameFileSystem = false) {
        m_adding->AddFromFolder(root, sameFileSystem);
    }
    // The folder the folder tree has current ("" when none).
    QByteArray dirListFolder() const { return m_adding->dirListFolder(); }
    // Makes folder current in the folder tree; false when it does not exist.
    bool setDirListFolder(const QByteArray& folder) { return m_adding->setDirListFolder(folder); }
    const QList<MountPoint>& mounts() const { return m_adding->mounts(); }

    // The clipboard that the copy command puts files on; none by default.
    void setFileClipboard(lorvane::FileClipboard* clipboard) {
        m_songFiles->setFileClipboard(clipboard);
    }
    // Whether the move button is armed, waiting for the target genre.
    bool moveArmed() const { return m_genres->moveArmed(); }
    // Where "Only Show in Tray" takes the task-bar entry away; none by default.
    void setTaskbarEntry(lorvane::TaskbarEntry* taskbar) { m_tray->setTaskbarEntry(taskbar); }
    void HideAppWindow() { m_tray->HideAppWindow(); }

public slots:
    void GenreListClick() { m_lists->GenreListClick(); }
    void ArtistListClick() { m_lists->ArtistListClick(); }
    void SongListClick() { m_lists->SongListClick(); }
    void ArtistListDblClick();
    void ArtistListKeyPress(int key);
    void ArtistListKeyUp(int key);
    void SongListKeyPress(int key);
    void SongListKeyUp(int key);
    void GenreListKeyUp(int key);
    void FindEditKeyUp(int key);

    void FindButtonClick() { m_lists->FindButtonClick(); }
    void CalculateTotalNumberofMP3s1Click() { m_lists->CalculateTotalNumberofMP3s1Click(); }
    void CalcMP3sGenreClick() { m_lists->CalcMP3sGenreClick(); }
    void PurgeDBClick() { m_lists->PurgeDBClick(); }
    void DeleteArtistClick() { m_lists->DeleteArtistClick(); }
    void DeleteSongListClick() { m_lists->DeleteSongListClick(); }
    void CleanArtistClick() { m_lists->CleanArtistClick(); }
    void HelpClickClick();
    void AboutClickClick();
    void CloseRenamePopup() { m_context->closePopup(); }

    void AddMp3sClick() { m_adding->AddMp3sClick(); }
    void Button1Click() { m_adding->Button1Click(); } // Add by Drive
    void Button4Click() { m_adding->Button4Click(); } // Add by Directory (folder tree)
    void BitBtn1Click() { m_adding->BitBtn1Click(); } // Add by the typed folder
    void DriveChange() { m_adding->DriveChange(); }
    void ManualAddClick() { m_lists->ManualAddClick(); }
    void AddArtistEntry(const QString& name) { m_lists->AddArtistEntry(name); }
    void ManualAddSongClick() { m_lists->ManualAddSongClick(); }
    void PreviewButtonClick(bool on) { m_adding->PreviewButtonClick(on); }
    void ScanReportClick() { m_adding->ScanReportClick(); }

    void AddGenreClick() { m_genres->AddGenreClick(); }
    void AddGenreFolder(const QString& name) { m_genres->AddGenreFolder(name); }
    void RenameGenreClick() { m_genres->RenameGenreClick(); }
    void RenameGenreFolder(const QString& newName) { m_genres->RenameGenreFolder(newName); }
    void RemoveGenreClick() { m_genres->RemoveGenreClick(); }
    void MoveButtonClick() { m_genres->MoveButtonClick(); }
    void CleanArtistsinGenreClick() { m_genres->CleanArtistsinGenreClick(); }
    void SaveAssociationsClick() { m_genres->SaveAssociationsClick(); }
    void RenameSongClick() { m_songFiles->RenameSongClick(); }
    void CopyMp3FileClick() { m_songFiles->CopyMp3FileClick(); }
    void DelMp3FileClick() { m_songFiles->DelMp3FileClick(); }

    void Tray1SimpelFunction() { m_tray->bringBack(); }
    void Open1Click() { Tray1SimpelFunction(); }
    void ExitTrayClick() { ExitClickClick(); }
    void MinToTrayClick() { m_tray->MinToTrayClick(); }

    void ExitClickClick();
    void Button6Click() { ExitClickClick(); }
    void PopupFromMessage() { Tray1SimpelFunction(); }

signals:
    // A song was clicked (or found): its stored path, "null" or "" as SongPathOf gives.
    void songClicked(const QByteArray& path);
    // Playing and enqueueing, for the player commands.
    void playArtistsRequested();  // double-click or Enter in the artist list
    void openSongRequested();     // double-click in the song list
    void enqueueSongsRequested(); // F1 in the song list

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPlayer();
    bool acceptPopupText(int mode, const QString& text);
    void popupConfirmed(int mode, const QString& text);

    std::unique_ptr<Ui::TForm1> m_ui;
    TForm1Services m_services;
    lorvane::ArtistStore m_store;
    std::unique_ptr<WindowContext> m_context;
    std::unique_ptr<WindowSettings> m_settings;
    CollectionLists* m_lists = nullptr;
    GenreCommands* m_genres = nullptr;
    SongFileCommands* m_songFiles = nullptr;
    AddPanel* m_adding = nullptr;
    TrayPresence* m_tray = nullptr;
    TRenameForm* m_renameForm = nullptr;
    SongDetailsPanel* m_details = nullptr;
    CharsetMenu* m_charsetMenu = nullptr;
    std::unique_ptr<lorvane::WAIPC> m_ipc;
    lorvane::PlayerStrip* m_strip = nullptr;
    lorvane::PlaylistGroup* m_playlist = nullptr;
    HeldKeys m_findKeys;   // pressed in the find field
    HeldKeys m_windowKeys; // Esc pressed anywhere in the window
    bool m_settingsWritten = false;
};
