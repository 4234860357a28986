#include "platform/FileClipboard.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

namespace lorvane {

QByteArray FileUri(const QByteArray& path) {
    QByteArray absolute = path;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + path;
    return "file://" + absolute.toPercentEncoding("/");
}

QMimeData* FileListMimeData(const QByteArrayList& paths) {
    QByteArray uriList;
    QByteArray copied("copy");
    QByteArray plain;
    for (const QByteArray& path : paths) {
        const QByteArray uri = FileUri(path);
        uriList += uri + "\r\n";
        copied += '\n' + uri;
        if (!plain.isEmpty())
            plain += '\n';
        plain += path;
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), copied);
    data->setData(QStringLiteral("text/plain"), plain);
    return data;
}

void SystemFileClipboard::setFiles(const QByteArrayList& paths) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(FileListMimeData(paths));
}

} // namespace lorvane
