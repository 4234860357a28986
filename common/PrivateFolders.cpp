#include "common/PrivateFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool pathStat(const QString& path, struct stat& st) {
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool fitsSocketAddress(const QString& folder, qsizetype longestName) {
    return QFile::encodeName(folder).size() + longestName <
           qsizetype(sizeof(sockaddr_un::sun_path));
}

QString madeFolder(const QString& path, qsizetype longestName) {
    if (path.isEmpty() || !fitsSocketAddress(path, longestName))
        return {};
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return IsPrivateFolder(path, true) ? path : QString();
}

} // namespace

bool IsPrivateFolder(const QString& path, bool strict) {
    struct stat st {};
    const mode_t barred = strict ? S_IRWXG | S_IRWXO : S_IWGRP | S_IWOTH;
    return pathStat(path, st) && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & barred) == 0;
}

bool IsOwnSocket(const QString& path) {
    struct stat st {};
    return pathStat(path, st) && S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
}

QString PrivateRuntimeFolder(const QString& program, qsizetype longestName) {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime, false) && fitsSocketAddress(runtime, longestName))
        return runtime;
    const QString own = u'/' + program + QStringLiteral("-runtime-") + QString::number(::geteuid());
    QString folder = madeFolder(QDir::tempPath() + own, longestName);
    if (folder.isEmpty()) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (!cache.isEmpty() && QDir().mkpath(cache))
            folder = madeFolder(cache + own, longestName);
    }
    return folder;
}
