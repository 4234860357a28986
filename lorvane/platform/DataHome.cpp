#include "platform/DataHome.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

namespace {

bool isWritableFolder(const QByteArray& folder) {
    struct stat st {};
    return ::stat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.constData(), W_OK) == 0;
}

// mkdir -p; true when folder exists afterwards.
bool makeFolders(const QByteArray& folder) {
    if (isWritableFolder(folder))
        return true;
    for (qsizetype i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            const QByteArray part = folder.left(i);
            if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
                return false;
        }
    }
    return isWritableFolder(folder);
}

QByteArray executableFolder() {
    QByteArray buffer(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || n >= buffer.size())
        return {};
    buffer.truncate(n);
    return buffer.left(buffer.lastIndexOf('/') + 1);
}

QByteArray userDataFolder() {
    // XDG_DATA_HOME moves ~/.local/share, as every other desktop program honours it.
    QByteArray base = qgetenv("XDG_DATA_HOME");
    if (base.isEmpty() || !base.startsWith('/'))
        base = qgetenv("HOME") + "/.local/share";
    return withTrailingSlash(base) + "lorvane";
}

} // namespace

QByteArray withTrailingSlash(QByteArray folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

QByteArray resolveDataHome(const QByteArray& envHome, const QByteArray& exeDir,
                           const QByteArray& userDataDir) {
    if (!envHome.isEmpty()) {
        makeFolders(envHome);
        return withTrailingSlash(envHome);
    }
    if (!exeDir.isEmpty() && isWritableFolder(exeDir))
        return withTrailingSlash(exeDir);
    makeFolders(userDataDir);
    return withTrailingSlash(userDataDir);
}

QByteArray ProgramFolder() {
    return resolveDataHome(qgetenv("LORVANE_HOME"), executableFolder(), userDataFolder());
}

} // namespace lorvane
