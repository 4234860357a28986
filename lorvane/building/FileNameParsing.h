#pragma once

#include "building/NameText.h"

#include <QByteArray>
#include <QString>

// Artist and song title from a file name.
//
// How to use: keep the four switches and the separator of the add panel in a
// NamePatterns (separator = NameBytes(XEdit->text())) and pass it to every call;
// the parsers read nothing else. Paths, artists and titles are the bytes of the file
// system; show them with DisplayText() and keep the bytes (e.g. in item data) for
// every call back into the core. Positions are byte positions, which for UTF-8 names
// give the same cuts as character positions.
namespace lorvane {

struct NamePatterns {
    bool track = false;                              // TrackFormat   "Trac&k - A - S.mp3"
    bool bracket = true;                             // BracketFormat "(&Artist) Song.mp3"
    bool custom = false;                             // CustomFormat  "Artist &X Song.mp3"
    bool dash = true;                                // DashFormat    "Artist - S&ong.mp3"
    QByteArray separator = QByteArrayLiteral("-=-"); // XEdit; empty disables custom
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

// The artist name; UnknownArtist when no switched-on pattern fits. May be empty when
// the fitting pattern cuts a blank-only part.
QByteArray ParseArtist(const QByteArray& path, const NamePatterns& patterns);

// The title shown in the song list.
QByteArray ParseSongTitle(const QByteArray& path, const NamePatterns& patterns);

} // namespace lorvane
