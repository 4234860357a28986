#include "store/SongFinder.h"

#include "store/ListOrder.h"

#include <algorithm>

namespace lorvane {

QByteArray AsciiUpper(const QByteArray& text) {
    QByteArray upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return upper;
}

bool TitleContains(const QByteArray& title, const QByteArray& upperText) {
    return AsciiUpper(title).contains(upperText);
}

QList<SongEntry> SongsInListOrder(const ArtistStore& store, const QByteArray& genre,
                                  const QByteArray& artist, const NamePatterns& patterns) {
    QList<SongEntry> songs = store.ListSongs(genre, artist, patterns);
    std::stable_sort(songs.begin(), songs.end(), [](const SongEntry& a, const SongEntry& b) {
        return ListLess(DisplayText(a.title), DisplayText(b.title), a.lineIndex, b.lineIndex);
    });
    return songs;
}

FindOutcome FindSong(const ArtistStore& store, const QByteArray& genre,
                     const NamePatterns& patterns, const QByteArrayList& artists, int focusedArtist,
                     const QByteArrayList& titles, int start, const QByteArray& text) {
    FindOutcome outcome;
    const QByteArray upper = AsciiUpper(text);
    if (upper.isEmpty() || artists.isEmpty())
        return outcome;

    for (int i = std::max(start, 0); i < titles.size(); ++i) {
        if (TitleContains(titles[i], upper)) {
            outcome.found = true;
            outcome.artist = focusedArtist;
            outcome.song = i;
            return outcome;
        }
    }

    // The pass ends with the focused artist itself, read afresh from its file.
    const int count = int(artists.size());
    const int from = std::clamp(focusedArtist, 0, count - 1);
    for (int step = 1; step <= count; ++step) {
        const int a = (from + step) % count;
        const QList<SongEntry> songs = SongsInListOrder(store, genre, artists[a], patterns);
        for (int s = 0; s < songs.size(); ++s) {
            if (TitleContains(songs[s].title, upper)) {
                outcome.found = true;
                outcome.artist = a;
                outcome.reload = true;
                outcome.song = s;
                return outcome;
            }
        }
    }
    return outcome;
}

} // namespace lorvane
