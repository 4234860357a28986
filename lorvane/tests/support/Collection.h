#pragma once

#include <QString>
#include <QStringList>

// A collection on disk for the window tests: artist files under a data home.
namespace wintest {

// Writes home/LVNDB/genre/artist.lvn holding lines (each ended by CR LF).
void writeArtist(const QString& home, const QString& genre, const QString& artist,
                 const QStringList& lines);

// The lines of an artist file; an empty list when it does not exist.
QStringList readArtist(const QString& home, const QString& genre, const QString& artist);

bool artistExists(const QString& home, const QString& genre, const QString& artist);

// Creates a file with some content, and its folders.
void touch(const QString& path, const QByteArray& content = QByteArrayLiteral("ID3"));

} // namespace wintest
