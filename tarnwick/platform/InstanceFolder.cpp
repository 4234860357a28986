#include "InstanceFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The longest file name of the instance: the socket's name must fit a socket address.
constexpr qsizetype kLongestName = 24;

bool fitsSocketAddress(const QString& folder) {
    return QFile::encodeName(folder).size() + kLongestName <
           qsizetype(sizeof(sockaddr_un::sun_path));
}

// Makes the folder (mode 0700) unless it is there, and takes it only when it turns out
// to be the user's own: another user may have made it first in a shared folder.
QString madeFolder(const QString& path) {
    if (path.isEmpty() || !fitsSocketAddress(path))
        return {};
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return IsPrivateFolder(path, true) ? path : QString();
}

} // namespace

bool IsPrivateFolder(const QString& path, bool strict) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const mode_t barred = strict ? S_IRWXG | S_IRWXO : S_IWGRP | S_IWOTH;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & barred) == 0;
}

bool IsOwnSocket(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
}

QString InstanceFolder() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime, false) && fitsSocketAddress(runtime))
        return runtime;
    const QString own = QStringLiteral("/tarnwick-runtime-") + QString::number(::geteuid());
    QString folder = madeFolder(QDir::tempPath() + own);
    if (folder.isEmpty()) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (!cache.isEmpty() && QDir().mkpath(cache))
            folder = madeFolder(cache + own);
    }
    return folder;
}

QString InstanceFilePath(const QString& name, const QString& suffix) {
    const QString folder = InstanceFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name + suffix;
}
