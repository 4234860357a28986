// MainWindow.h: TForm1, the main window of lorvane.
#pragma once

#include "HeldKeys.h"
#include "MountPoints.h"
#include "building/FileNameParsing.h"
#include "files/FindFiles.h"
#include "store/ArtistStore.h"
#include "store/Settings.h"

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

namespace Ui {
class TForm1;
}
class FolderTreeModel;
class QMenu;
class QPushButton;
class CharsetMenu;
class NamePreviewPanel;
class SongDetailsPanel;
class TRenameForm;
class TTrayIcon;

namespace lorvane {
struct OrganizeResult;
class Associations;
class AssociationSource;
class FileClipboard;
class CommandRunner;
class MediaPlayerBus;
class PlaylistGroup;
class SettingsStore;
class Shell;
class SystemVolume;
class TaskbarEntry;
class UserDialogs;
class WAIPC;
class PlayerStrip;
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
// Find Song, the counts, the add panel and the status line (the window caption).
// Every command reads the store afresh and applies the result to the lists.
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

    // Working state.
    QByteArray ProgramDir;
    QByteArray DbFolderName;
    QByteArray GenrePath;     // "LVNDB/" + selected genre + "/", empty while none is loaded
    QByteArray AssocFileName; // ProgramDir + "lorvane.gen"
    QString MoveCaption;      // the move button's normal caption

    // The genre whose artists the artist list shows (bytes of GenrePath's genre).
    QByteArray loadedGenre() const { return m_genre; }
    // The genre list's selected entry, "" when none.
    QByteArray selectedGenre() const;
    // The focused artist's name, "" when the list is empty.
    QByteArray focusedArtist() const;
    // The pattern switches and separator of the add panel.
    lorvane::NamePatterns patterns() const;

    // The association table for add runs (the genre commands set it); none by default.
    void setAssociationSource(lorvane::AssociationSource* source) { m_associations = source; }

    // Settings: what ReadSettings applied, and what WriteSettings would store now.
    const lorvane::SettingsValues& appliedSettings() const { return m_applied; }
    lorvane::SettingsValues currentSettings() const;
    void ReadSettings();
    void WriteSettings();

    // Puts text into the status line and repaints at once (long operations call it
    // between files; user input waits until the operation ends).
    void showCaption(const QString& text);

    // Scans root (ending in "/") into the collection and applies the result.
    void AddFromFolder(const QByteArray& root, bool sameFileSystem = false);

    // The folder the folder tree has current ("" when none).
    QByteArray dirListFolder() const;
    // Makes folder current in the folder tree; false when it does not exist.
    bool setDirListFolder(const QByteArray& folder);
    const QList<MountPoint>& mounts() const { return m_mounts; }

public slots:
    void GenreListClick();
    void ArtistListClick();
    void SongListClick();
    void ArtistListDblClick();
    void ArtistListKeyPress(int key);
    void ArtistListKeyUp(int key);
    void SongListKeyPress(int key);
    void SongListKeyUp(int key);
    void GenreListKeyUp(int key);
    void FindEditKeyUp(int key);

    void FindButtonClick();
    void CalculateTotalNumberofMP3s1Click();
    void CalcMP3sGenreClick();
    void PurgeDBClick();
    void DeleteArtistClick();
    void DeleteSongListClick();
    void CleanArtistClick();
    void HelpClickClick();
    void AboutClickClick();
    void CloseRenamePopup();

    void AddMp3sClick();
    void Button1Click(); // Add by Drive
    void Button4Click(); // Add by Directory (folder tree)
    void BitBtn1Click(); // Add by the typed folder
    void DriveChange();
    void ManualAddClick();
    void AddArtistEntry(const QString& name);
    void ManualAddSongClick();

    void ExitClickClick();
    void Button6Click();
    void PopupFromMessage();

signals:
    // A song was clicked (or found): its stored path, "null" or "" as SongPathOf gives.
    void songClicked(const QByteArray& path);
    // Playing and enqueueing, for the player commands.
    void playArtistsRequested();  // double-click or Enter in the artist list
    void playSongsRequested();    // Enter in the song list with other than one song selected
    void openSongRequested();     // Enter in the song list with exactly one song selected
    void enqueueSongsRequested(); // F1 in the song list

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    // Runs a long operation (one that shows progress in the caption); a close asked for
    // meanwhile waits until it ends.
    template <typename Work> void whileBusy(Work work);
    void applySettings(const lorvane::SettingsValues& values);
    void equalSidePanels();
    QSize firstStartSize();
    void setBoundsOnScreen(QRect bounds);
    void buildPopupMenus();
    void buildAddPanel();
    void buildPlayer();
    void fillArtists(const QByteArrayList& names);
    void showTotals();
    void showError(const QString& message);
    void showMessage(const QString& text);
    QByteArrayList artistNames() const;
    QByteArrayList songTitles() const;
    void focusSong(int row);
    // Removes the focused artist whose file went with its last song, with the caption.
    void dropFocusedArtist();
    // Says why the focused artist lists no songs when its file cannot be read.
    void explainEmptySongList();
    // Applies a song's removal from the database to the lists.
    void applySongDeleted(int row, const lorvane::DeleteSongResult& result);
    // Runs a command whose core calls answer only yes or no; when one of them gave up
    // waiting for the database, says so in a message box and returns true.
    bool gaveUpWaiting(const std::function<void()>& command);

    std::unique_ptr<Ui::TForm1> m_ui;
    TForm1Services m_services;
    lorvane::ArtistStore m_store;
    lorvane::CaptionSink m_captions;
    lorvane::AssociationSource* m_associations = nullptr;
    TRenameForm* m_renameForm = nullptr;
    SongDetailsPanel* m_details = nullptr;
    std::unique_ptr<lorvane::WAIPC> m_ipc;
    lorvane::PlayerStrip* m_strip = nullptr;
    lorvane::PlaylistGroup* m_playlist = nullptr;
    QMenu* m_genreMenu = nullptr;
    QMenu* m_artistMenu = nullptr;
    QMenu* m_songMenu = nullptr;
    CharsetMenu* m_charsetMenu = nullptr;
    FolderTreeModel* m_dirModel = nullptr;
    QList<MountPoint> m_mounts;
    QByteArray m_genre;
    lorvane::SettingsValues m_applied;
    HeldKeys m_findKeys;   // pressed in the find field
    HeldKeys m_windowKeys; // Esc pressed anywhere in the window
    int m_busy = 0;
    bool m_closePending = false;
    bool m_settingsWritten = false;
    bool m_lockGaveUp = false; // a wait for the database gave up in the current command

    // Genres, associations and the physical file commands (lorvane_src_genres.cpp,
    // lorvane_src_fileops.cpp).
public:
    QByteArray MoveSourceGenre; // the genre whose selected artists a move takes
    int MoveSourceIndex = -1;

    // The clipboard that the copy command puts files on; none by default.
    void setFileClipboard(lorvane::FileClipboard* clipboard) { m_clipboard = clipboard; }
    // Whether the move button is armed, waiting for the target genre.
    bool moveArmed() const;

public slots:
    void AddGenreClick();
    void AddGenreFolder(const QString& name);
    void RenameGenreClick();
    void RenameGenreFolder(const QString& newName);
    void RemoveGenreClick();
    void MoveButtonClick();
    void CleanArtistsinGenreClick();
    void SaveAssociationsClick();
    void RenameSongClick();
    void CopyMp3FileClick();
    void DelMp3FileClick();

private:
    void connectGenreAndFileCommands();
    void renameFormConfirmed(int mode, const QString& text);
    bool acceptPopupText(int mode, const QString& text);
    QByteArray popupNameBytes(int mode, const QString& text) const;
    void genreCommandKeys(int key);
    void songFileKeys(int key);
    void completeMove();
    void showRenameSong(int top);
    void renameSong(const QString& typed);

    std::shared_ptr<lorvane::Associations> m_assocFile;
    lorvane::FileClipboard* m_clipboard = nullptr;
    QByteArray m_renameBytes; // the bytes of the name the rename popup was opened with

    // The tray icon and menu, "Only Show in Tray", the first paint and the end of the
    // window (lorvane_src_tray.cpp).
public:
    TTrayIcon* Tray1 = nullptr;
    QMenu* TrayMenu = nullptr;
    QAction* Open1 = nullptr;
    QAction* ExitTray = nullptr;
    bool FirstPaintDone = false;

    // Where "Only Show in Tray" takes the task-bar entry away; none by default.
    void setTaskbarEntry(lorvane::TaskbarEntry* taskbar);
    void HideAppWindow();

public slots:
    void Tray1SimpelFunction();
    void Open1Click();
    void ExitTrayClick();
    void MinToTrayClick();

protected:
    bool event(QEvent* event) override;

private:
    void buildTray();

    lorvane::TaskbarEntry* m_taskbar = nullptr;
    QPointer<QWidget> m_lastActive;

    // The preview of the name patterns in the add panel and the report of the last scan
    // under the lists (lorvane_src_preview.cpp).
public:
    NamePreviewPanel* Preview() const { return m_preview; }
    QPushButton* PreviewButton = nullptr; // "Previe&w": the preview in place of the tree
    QPushButton* ScanReport = nullptr;    // the last scan's counts; selects the unnamed songs

public slots:
    void PreviewButtonClick(bool on);
    void ScanReportClick();

private:
    void buildPreview();
    void updatePreview();
    void showScanReport(const lorvane::OrganizeResult& result);

    NamePreviewPanel* m_preview = nullptr;
    QByteArray m_unnamedGenre; // where the last scan filed the names no pattern fits
};
