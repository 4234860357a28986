#pragma once

#include "files/ByteFile.h"

#include <QByteArray>
#include <QByteArrayList>

// The artist file: one song path a line, a line file of ByteFile.h. The reads and
// writes here are ByteFile's, failing with a StoreError ("Cannot open file", "Cannot
// create file") that ends the store command.
namespace lorvane::ArtistFile {

using ByteFile::exists;
using ByteFile::isFolder;
using ByteFile::isTemporaryName;
using ByteFile::joinLines;
using ByteFile::Links;
using ByteFile::makeFolder;
using ByteFile::remove;
using ByteFile::replacedFile;
using ByteFile::splitLines;

// Reads path; *exists tells whether it was there. A missing file reads as no lines; a
// file that is there but cannot be read throws StoreError ("Cannot open file").
QByteArrayList read(const QByteArray& path, bool* exists = nullptr);

// The bytes of path, under the same rules as read().
QByteArray readRaw(const QByteArray& path, bool* exists = nullptr);

// ByteFile::writeAtomic; throws StoreError ("Cannot create file") when it fails.
void writeAtomic(const QByteArray& path, const QByteArray& content,
                 Links links = Links::WriteThrough);

// Throws StoreError ("Cannot create file") when the file writeAtomic would replace exists
// and the user may not write it.
void checkReplaceable(const QByteArray& path, Links links = Links::WriteThrough);

// Writes lines (see joinLines) atomically.
void write(const QByteArray& path, const QByteArrayList& lines, Links links = Links::WriteThrough);

// Writes lines back, or removes the file when none remain (a file never stays empty).
// Returns true when the file was removed. A file that may not be removed (see
// ArtistStore::mayRemove) is written empty instead.
bool writeOrRemove(const QByteArray& path, const QByteArrayList& lines, bool mayRemove = true);

// ASCII-only letter case folding ("A".."Z" to "a".."z"), the rule for song paths.
QByteArray asciiFolded(const QByteArray& text);

// Key under which a song path counts as filed already: ASCII letter case and the
// spellings plainPath evens out ("a//b", "a/./b", a trailing "/") do not matter.
QByteArray songKey(const QByteArray& path);

// Key under which names of artist files and genre folders match regardless of case:
// full Unicode case folding for UTF-8 names, ASCII folding for other byte strings.
QByteArray nameKey(const QByteArray& name);

// The longest path the system opens; a longer line (a damaged file) names no song, and
// the lists and counts pass over it rather than spend the window's time on it.
constexpr qsizetype MaxSongLine = 4096;
inline bool isSongLine(const QByteArray& line) {
    return line.size() <= MaxSongLine;
}

// A path that cannot be kept on one line (it holds CR or LF) cannot be stored.
bool isStorableLine(const QByteArray& path);

} // namespace lorvane::ArtistFile
