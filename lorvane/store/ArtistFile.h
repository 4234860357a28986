#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The artist file format: one path a line, written with CR LF after every line,
// read with CR LF, lone CR or lone LF as line end. Writes are atomic (a temporary
// file in the same folder renamed over the old one), so an interrupted write leaves
// the old content or the new one, never a truncated file.
namespace lorvane::ArtistFile {

// Lines of content; a final line without line end counts, an empty text has none.
QByteArrayList splitLines(const QByteArray& content);

// Every line followed by CR LF.
QByteArray joinLines(const QByteArrayList& lines);

// Reads path; *exists tells whether it was there. A missing file reads as no lines; a
// file that is there but cannot be read throws StoreError ("Cannot open file").
QByteArrayList read(const QByteArray& path, bool* exists = nullptr);

// The bytes of path, under the same rules as read().
QByteArray readRaw(const QByteArray& path, bool* exists = nullptr);

// What a write does with a link in the file's place: write through it to its target (the
// user linked an artist file from elsewhere), or replace the link itself (a file of the
// program's own, such as the dynamic playlist, which a planted link must not redirect).
enum class Links { WriteThrough, Replace };

// Replaces path with content atomically; throws StoreError ("Cannot create file").
// The protection of the old file holds: a file the user may not write is refused and
// left as it is, and the new file gets the old one's mode (and owner and group where
// the process may). With Links::WriteThrough the temporary file lies beside the link's
// target and replaces it, so the link stays.
void writeAtomic(const QByteArray& path, const QByteArray& content,
                 Links links = Links::WriteThrough);

// The file writeAtomic(path) replaces: path, or the target of the link path names.
QByteArray replacedFile(const QByteArray& path);

// Throws StoreError ("Cannot create file") when the file writeAtomic would replace exists
// and the user may not write it.
void checkReplaceable(const QByteArray& path, Links links = Links::WriteThrough);

// Writes lines (see joinLines) atomically.
void write(const QByteArray& path, const QByteArrayList& lines, Links links = Links::WriteThrough);

// Whether name is one of the temporary names writeAtomic writes through; such a file
// is only left behind when the writing process was killed.
bool isTemporaryName(const QByteArray& name);

// Writes lines back, or removes the file when none remain (a file never stays empty).
// Returns true when the file was removed.
bool writeOrRemove(const QByteArray& path, const QByteArrayList& lines);

// Whether a path names something that exists (stat follows links).
bool exists(const QByteArray& path);

// Whether path names a folder (links followed).
bool isFolder(const QByteArray& path);

// Removes a file; silent when it is missing or cannot be removed. Returns success.
bool remove(const QByteArray& path);

// Creates one folder; true only when it was newly made.
bool makeFolder(const QByteArray& path);

// ASCII-only letter case folding ("A".."Z" to "a".."z"), the rule for song paths.
QByteArray asciiFolded(const QByteArray& text);

// Key under which names of artist files and genre folders match regardless of case:
// full Unicode case folding for UTF-8 names, ASCII folding for other byte strings.
QByteArray nameKey(const QByteArray& name);

// A path that cannot be kept on one line (it holds CR or LF) cannot be stored.
bool isStorableLine(const QByteArray& path);

} // namespace lorvane::ArtistFile
