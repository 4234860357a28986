#include "Collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace wintest {

static QString artistPath(const QString& home, const QString& genre, const QString& artist) {
    return home + QStringLiteral("/LVNDB/") + genre + QLatin1Char('/') + artist +
           QStringLiteral(".lvn");
}

void touch(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
}

void writeArtist(const QString& home, const QString& genre, const QString& artist,
                 const QStringList& lines) {
    QByteArray content;
    for (const QString& line : lines)
        content += line.toUtf8() + "\r\n";
    touch(artistPath(home, genre, artist), content);
}

QStringList readArtist(const QString& home, const QString& genre, const QString& artist) {
    QFile f(artistPath(home, genre, artist));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
    }
    return lines;
}

bool artistExists(const QString& home, const QString& genre, const QString& artist) {
    return QFileInfo::exists(artistPath(home, genre, artist));
}

} // namespace wintest
