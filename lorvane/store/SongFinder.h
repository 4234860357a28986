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
// How to use: the window passes its lists as they stand (display order) and applies the
// outcome: when `reload` is set, focus and select `artist`, reload the song list, then
// focus and select `song`; otherwise focus and select `song` in the current song list.
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
