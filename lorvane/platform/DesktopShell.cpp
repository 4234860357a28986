#include "platform/DesktopShell.h"

#include <QDesktopServices>

namespace lorvane {

bool DesktopShell::openDocument(const QByteArray& path) {
    return QDesktopServices::openUrl(FileUrl(path));
}

bool DesktopShell::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace lorvane
