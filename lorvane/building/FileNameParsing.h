#pragma once

#include "building/NameText.h"

#include <QByteArray>
#include <QString>

// Artist and song title from a file name.
//
// The parsers read nothing but their arguments: the four pattern switches and the
// custom separator come in a NamePatterns. Paths, artists and titles are the bytes of
// the file system, in and out. Positions are byte positions, which for UTF-8 names
// give the same cuts as character positions.
namespace lorvane {

struct NamePatterns {
    bool track = false;                              // TrackFormat   "Trac&k - A - S.mp3"
    bool bracket = true;                             // BracketFormat "(&Artist) Song.mp3"
    bool custom = false;                             // CustomFormat  "Artist &X Song.mp3"
    bool dash = true;                                // DashFormat    "Artist - S&ong.mp3"
    QByteArray separator = QByteArrayLiteral("-=-"); // XEdit; empty disables custom

    bool operator==(const NamePatterns&) const = default;
};

// The artist of a file name that fits no pattern.
inline constexpr char UnknownArtist[] = "! Unknown Artist !";

// File name (after the last "/") without its last extension; "" for ".mp3" or "dir/".
QByteArray BaseFileName(const QByteArray& path);

// "_" becomes " ", then leading and trailing blanks (character 32 only) go.
QByteArray CleanNamePart(const QByteArray& s);

// Whether text converts completely as a signed 32-bit whole number: optional leading
// blanks, optional sign, decimal digits or hexadecimal digits after "$", "x", "X",
// "0x" or "0X".
bool IsWholeNumber(const QByteArray& text);

// The pattern that cut a name, in the order they are tried; None: no switched-on
// pattern fits, the artist is UnknownArtist.
enum class NamePattern { Track, Bracket, Custom, Dash, None };

// "track", "bracket", "custom", "dash" or "none".
const char* PatternName(NamePattern pattern);

struct ParsedName {
    QByteArray artist;
    QByteArray title;
    NamePattern pattern = NamePattern::None;
};

// Artist, title and the fitting pattern of path: the one parser behind ParseArtist,
// ParseSongTitle, the scan and its preview.
ParsedName ParseName(const QByteArray& path, const NamePatterns& patterns);

// The artist name, without leading dots; UnknownArtist when no switched-on pattern
// fits or the fitting pattern cuts a part that is blank (or only dots).
QByteArray ParseArtist(const QByteArray& path, const NamePatterns& patterns);

// The title shown in the song list.
QByteArray ParseSongTitle(const QByteArray& path, const NamePatterns& patterns);

} // namespace lorvane
