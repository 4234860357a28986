// CollectionLists.h: CollectionLists, the main window's three lists (genres, artists,
// songs) with their totals, Find Song, the counts, and the commands on database entries.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>

#include <functional>
#include <optional>

class SongDetailsPanel;
class WindowContext;
namespace lorvane {
struct DeleteSongResult;
}

// Every command reads the store afresh and applies the result to the lists. The artist
// list shows the loaded genre (the selected one, once a click has loaded it), the song
// list the focused artist's songs.
class CollectionLists : public QObject {
    Q_OBJECT
public:
    // A click on a song shows it in details.
    CollectionLists(WindowContext& context, SongDetailsPanel& details, QObject* parent = nullptr);

    // Fills the genre list from the store and loads the first genre.
    void loadGenres();
    // The lists' context menus.
    void buildMenus();

    // The genre whose artists the artist list shows, "" while none is loaded.
    QByteArray loadedGenre() const { return m_genre; }
    // "LVNDB/" + the loaded genre + "/", "" while none is loaded.
    QByteArray genrePath() const;
    // The genre list's selected entry, "" when none.
    QByteArray selectedGenre() const;
    // The focused artist's name, "" when the list is empty.
    QByteArray focusedArtist() const;
    // The stored path of the song in row of the song list ("null" or "" as SongPathOf).
    QByteArray songPathAt(int row) const;
    // The stored paths of the selected songs, top to bottom.
    QByteArrayList selectedSongPaths() const;
    // The stored path of the focused song; nothing when the song list is empty.
    std::optional<QByteArray> focusedSongPath() const;
    // The artist files of the selected artists, top to bottom.
    QByteArrayList selectedArtistFiles() const;

    // A typed name that reads as a listed one names that entry (a genre, or an artist
    // for the artist popup); a renamed genre keeps the bytes of what the user left alone.
    QByteArray typedName(int popupMode, const QString& text) const;

    // Asked first by every genre click; true takes the click (a move that was waiting
    // for its target genre), and the lists load nothing.
    void setGenreClickTaker(std::function<bool()> taker) { m_takeGenreClick = std::move(taker); }

    // Removes the focused artist whose file went with its last song, with the caption.
    void dropFocusedArtist();
    // Applies a song's removal from the database to the lists.
    void applySongDeleted(int row, const lorvane::DeleteSongResult& result);

public slots:
    void GenreListClick();
    void ArtistListClick();
    void SongListClick();
    void FindButtonClick();
    void CalculateTotalNumberofMP3s1Click();
    void CalcMP3sGenreClick();
    void PurgeDBClick();
    void DeleteArtistClick();
    void DeleteSongListClick();
    void CleanArtistClick();
    void ManualAddClick();
    void AddArtistEntry(const QString& name);
    void ManualAddSongClick();

signals:
    // A song was clicked (or found): its stored path, "null" or "" as SongPathOf gives.
    void songClicked(const QByteArray& path);

private:
    void fillArtists(const QByteArrayList& names);
    QByteArrayList artistNames() const;
    QByteArrayList songTitles() const;
    void focusSong(int row);
    // Says why the focused artist lists no songs when its file cannot be read.
    void explainEmptySongList();
    // The details panel edits only a song the song list shows: one that left the list
    // (another artist or genre, renamed, deleted) is cleared from the panel, so that
    // Save cannot write into a file the user no longer sees.
    void keepDetailsInStep();

    WindowContext& m_context;
    SongDetailsPanel& m_details;
    std::function<bool()> m_takeGenreClick;
    QByteArray m_genre;
};
