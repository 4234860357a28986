#pragma once

#include <QByteArray>

// Counting the songs of the collection: the lines of every artist file below a folder,
// whether or not the songs they name still exist.
namespace lorvane {

class FileSearch;

// Searches folder (ending in "/") and its sub-folders for "*.lvn" through search, whose
// caption sink shows "Getting files: N..." and then "Counting MP3s from Artists: i" for
// every fifth artist file. Setting the caption back is the caller's part. Throws
// StoreError when an artist file is there but cannot be read.
qint64 CountSongs(const QByteArray& folder, FileSearch& search);

} // namespace lorvane
