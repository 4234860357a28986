#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>
#include <utility>

// The file search behind scanning, artist listing, counting and purging.
//
// How to use: the window owns one FileSearch for its whole life (its FoundFiles and
// FileCounter) and gives it a caption sink that sets the window caption and repaints.
// Before a search call reset() (clears FoundFiles, FileCounter = 0), then FindFiles();
// every fifth file found sends "Getting files: N..." to the sink. Setting the caption
// back to "Lorvane" afterwards is the caller's part.
namespace lorvane {

using CaptionSink = std::function<void(const QString& caption)>;

// How far a search may go: a drive is one mounted file system, so its search stays
// there (as find -xdev does); a folder's search follows its tree onto other mounts.
enum class Reach { AnyFileSystem, OneFileSystem };

class FileSearch {
public:
    FileSearch() = default;
    explicit FileSearch(CaptionSink captions) : m_captions(std::move(captions)) {}

    void setCaptionSink(CaptionSink captions) { m_captions = std::move(captions); }
    // Sends a caption to the sink, if there is one.
    void caption(const QString& text) const;

    // Clears FoundFiles and sets FileCounter to 0.
    void reset();

    // Appends folder + name of every non-folder entry of folder whose name matches mask
    // (letter case ignored, "*" and "?" wildcards; hidden files included), in listing
    // order; then, if recurse, does the same for every sub-folder whose name does not
    // start with "." (depth first, listing order). folder must end in "/". A folder
    // that cannot be listed yields nothing. A folder reached twice (through a link)
    // is searched once. Pseudo file systems (proc, sysfs ...) are never entered, and
    // with OneFileSystem no folder on another file system than folder's is.
    void FindFiles(const QByteArray& folder, const QByteArray& mask, bool recurse,
                   Reach reach = Reach::AnyFileSystem);

    // Searches that delete what they find (purge, removing a genre) must stay inside
    // the database: with this off, links to folders are not descended into.
    void setFollowFolderLinks(bool follow) { m_followFolderLinks = follow; }

    const QByteArrayList& FoundFiles() const { return m_found; }
    int FileCounter() const { return m_fileCounter; }

    // Whether name matches mask, ASCII letter case ignored.
    static bool matchesMask(const QByteArray& name, const QByteArray& mask);

private:
    struct Walk;
    void findIn(const QByteArray& folder, const QByteArray& mask, bool recurse, Walk& walk);

    CaptionSink m_captions;
    QByteArrayList m_found;
    int m_fileCounter = 0;
    bool m_followFolderLinks = true;
};

} // namespace lorvane
