#pragma once

#include <QByteArray>
#include <QMap>
#include <QTemporaryDir>

// Files and trees for the collection-core tests, addressed by their bytes.
namespace coretest {

// Creates the parent folders as needed; a path ending in "/" only makes folders.
void writeBytes(const QByteArray& path, const QByteArray& content = QByteArray());
QByteArray readBytes(const QByteArray& path);
bool pathExists(const QByteArray& path);

// Removes root and everything below it, whatever bytes the names hold.
void removeTree(const QByteArray& root);

// A temporary folder that goes with everything in it, names that are not UTF-8 included
// (QTemporaryDir alone leaves those behind).
class TempDir : public QTemporaryDir {
public:
    using QTemporaryDir::QTemporaryDir;
    ~TempDir() { removeTree(path().toUtf8()); }
};

// Every file and folder below root: relative path -> content ("<folder>" for folders).
QMap<QByteArray, QByteArray> snapshot(const QByteArray& root);

} // namespace coretest
