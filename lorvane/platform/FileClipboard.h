#pragma once

#include <QByteArray>
#include <QByteArrayList>

class QMimeData;

// The system clipboard as the song list's copy command uses it: a list of files that a
// paste in the desktop's file manager copies. Tests use the recorder in
// FakeFileClipboard.h.
namespace lorvane {

class FileClipboard {
public:
    virtual ~FileClipboard() = default;
    // Puts the files (file-system bytes, song-list order) on the clipboard.
    virtual void setFiles(const QByteArrayList& paths) = 0;
};

// The real clipboard (QClipboard); the data stays with the clipboard after the call.
class SystemFileClipboard : public FileClipboard {
public:
    void setFiles(const QByteArrayList& paths) override;
};

// "file://" + the absolute path with every byte outside the unreserved set and "/"
// percent-encoded, so a name that is not UTF-8 keeps its exact bytes. A relative path
// is taken from the current folder, as the store's existence checks take it.
QByteArray FileUri(const QByteArray& path);

// The clipboard data of a file copy, in the order given: "text/uri-list" (CR LF after
// each URI), "x-special/gnome-copied-files" ("copy", then one URI a line) and
// "text/plain" (the paths, one a line). The caller owns the result.
QMimeData* FileListMimeData(const QByteArrayList& paths);

} // namespace lorvane
