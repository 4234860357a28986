#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

// Whole files as bytes, and line files (the help text, playlists, artist files): read
// with CR LF, lone CR or lone LF as line end, written with CR LF after every line.
// Writes are atomic (a temporary file in the same folder renamed over the old one), so
// an interrupted write leaves the old content or the new one, never a truncated file.
// Paths are the file system's bytes.
namespace lorvane::ByteFile {

// Lines of content; a final line without line end counts, an empty text has none.
QByteArrayList splitLines(const QByteArray& content);

// Every line followed by CR LF.
QByteArray joinLines(const QByteArrayList& lines);

// The bytes of path; *exists tells whether it was there. A missing file reads as empty;
// a file that is there but cannot be read gives nothing.
std::optional<QByteArray> readRaw(const QByteArray& path, bool* exists = nullptr);

// The lines of path, under the same rules as readRaw().
std::optional<QByteArrayList> read(const QByteArray& path, bool* exists = nullptr);

// What a write does with a link in the file's place: write through it to its target (the
// user linked an artist file from elsewhere), or replace the link itself (a file of the
// program's own, such as the dynamic playlist, which a planted link must not redirect).
enum class Links { WriteThrough, Replace };

// The file writeAtomic(path) replaces: path, or the target of the link path names.
QByteArray replacedFile(const QByteArray& path);

// False when the file writeAtomic would replace exists and the user may not write it.
bool isReplaceable(const QByteArray& path, Links links = Links::WriteThrough);

// Replaces path with content atomically; false when it could not. The protection of the
// old file holds: a file the user may not write is refused and left as it is, and the
// new file gets the old one's mode (and owner and group where the process may). With
// Links::WriteThrough the temporary file lies beside the link's target and replaces it,
// so the link stays.
bool writeAtomic(const QByteArray& path, const QByteArray& content,
                 Links links = Links::WriteThrough);

// Writes lines (see joinLines) atomically.
bool write(const QByteArray& path, const QByteArrayList& lines, Links links = Links::WriteThrough);

// Whether name is one of the temporary names writeAtomic writes through; such a file
// is only left behind when the writing process was killed.
bool isTemporaryName(const QByteArray& name);

// Whether a path names something that exists (stat follows links).
bool exists(const QByteArray& path);

// Whether path names a folder (links followed).
bool isFolder(const QByteArray& path);

// Removes a file; silent when it is missing or cannot be removed. Returns success.
bool remove(const QByteArray& path);

// Creates one folder; true only when it was newly made.
bool makeFolder(const QByteArray& path);

} // namespace lorvane::ByteFile
