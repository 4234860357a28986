#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <atomic>
#include <functional>

// Finding files by name in a folder tree. A search is a value: where it may go is in
// its FindOptions, and what it found is its result; progress goes to a callback.
namespace lorvane {

struct FindOptions {
    bool recurse = false;        // sub-folders too (depth first, listing order)
    bool followLinks = true;     // descend into links to folders; searches that delete
                                 // what they find stay inside their tree with this off
    bool sameFileSystem = false; // a drive is one mounted file system, so its search
                                 // stays there (as find -xdev does)
    // A search run off the user-interface thread ends early, between two entries, once
    // *stop is true; what it found so far is its result.
    const std::atomic<bool>* stop = nullptr;
};

// Told the number of files found so far, after each one.
using FindProgress = std::function<void(int found)>;

// A line of progress for the window caption.
using CaptionSink = std::function<void(const QString& caption)>;

// A progress that sends "Getting files: N..." to captions after every fifth file; none
// when captions is empty.
FindProgress GettingFilesCaptions(CaptionSink captions);

// folder + name of every non-folder entry of folder whose name matches mask (letter case
// ignored, "*" and "?" wildcards; hidden files included), in listing order; then, with
// recurse, the same for every sub-folder whose name does not start with ".". folder
// must end in "/". A folder that cannot be listed yields nothing. A folder reached twice
// (through a link) is searched once. Pseudo file systems (proc, sysfs ...) are never
// entered, and with sameFileSystem no folder on another file system than folder's is.
QByteArrayList FindFiles(const QByteArray& folder, const QByteArray& mask,
                         const FindOptions& options, const FindProgress& progress = {});

// The files a scan of root takes, in the order it takes them: FindFiles(root, "*.mp3",
// options), root given a trailing "/" if missing.
QByteArrayList FindSongFiles(QByteArray root, const FindOptions& options,
                             const FindProgress& progress = {});

// Whether name matches mask, ASCII letter case ignored.
bool MatchesMask(const QByteArray& name, const QByteArray& mask);

} // namespace lorvane
