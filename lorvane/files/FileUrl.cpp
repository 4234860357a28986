#include "files/FileUrl.h"

#include <QDir>
#include <QFile>

namespace lorvane {

QUrl FileUrl(const QByteArray& path) {
    // Percent-encoding every byte outside the unreserved set keeps names that are not
    // valid UTF-8 intact, where QUrl::fromLocalFile would first decode them.
    QByteArray absolute = path;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + path;
    return QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"), QUrl::StrictMode);
}

} // namespace lorvane
