#pragma once

#include "building/FileNameParsing.h"
#include "store/ArtistStore.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

// Find Song: the next song whose shown title contains a text (ASCII letter case ignored),
// after the focused song, through the following artists of the genre and round to the
// focused artist again, whose file is read last.
//
// The search takes the lists in display order and reads nothing else but artist files;
// the outcome names the artist and the song by their rows, and says whether the song
// list must be reloaded for that artist first.
namespace lorvane {

struct FindOutcome {
    bool found = false;
    int artist = -1;     // index in the artist list
    bool reload = false; // the song list must be reloaded for `artist` first
    int song = -1;       // index in the (reloaded) song list
};

// ASCII letters upper-cased, every other byte kept.
QByteArray AsciiUpper(const QByteArray& text);

// Whether title contains upperText (already AsciiUpper'ed), ASCII letter case ignored.
bool TitleContains(const QByteArray& title, const QByteArray& upperText);

// Song entries of an artist in the order the song list shows them.
QList<SongEntry> SongsInListOrder(const ArtistStore& store, const QByteArray& genre,
                                  const QByteArray& artist, const NamePatterns& patterns);

// The search itself. artists: the artist list (item data, display order); focusedArtist:
// its focused entry; titles: the song list's titles (display order) and start: where the
// search in it begins (the entry after the focused one). A missing artist file is passed
// over.
FindOutcome FindSong(const ArtistStore& store, const QByteArray& genre,
                     const NamePatterns& patterns, const QByteArrayList& artists, int focusedArtist,
                     const QByteArrayList& titles, int start, const QByteArray& text);

} // namespace lorvane
