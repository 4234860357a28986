#pragma once

#include "files/FindFiles.h"

#include <QByteArray>

// Counting the songs of the collection: the lines of every artist file below a folder,
// whether or not the songs they name still exist.
namespace lorvane {

// Searches folder (ending in "/") and its sub-folders for "*.lvn"; captions are told
// "Getting files: N..." and then "Counting MP3s from Artists: i" for every fifth artist
// file. Throws StoreError when an artist file is there but cannot be read.
qint64 CountSongs(const QByteArray& folder, const CaptionSink& captions = {});

} // namespace lorvane
