#include "files/DataHome.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// Where the installed data folder lies relative to the installed program's folder; the
// build passes the one its install layout gives.
#ifndef LORVANE_DATA_FROM_BIN
#define LORVANE_DATA_FROM_BIN "../share/lorvane"
#endif

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

// folder (ending in "/") joined with a relative path, its leading "../" steps taken
// lexically, so that the result names the file without detours through bin/.
QByteArray joinRelative(QByteArray folder, QByteArray relative) {
    while (relative.startsWith("../") && folder.size() > 1) {
        folder.chop(1);
        folder.truncate(folder.lastIndexOf('/') + 1);
        relative.remove(0, 3);
    }
    return withTrailingSlash(folder + relative);
}

// An installed program (its help text in the shared data folder of its install prefix)
// keeps its data per user even where the program folder is writable, as /usr/bin is for
// root: the collection never goes among the system's programs.
bool isInstalledProgramFolder(const QByteArray& exeDir) {
    struct stat st {};
    const QByteArray help = joinRelative(exeDir, LORVANE_DATA_FROM_BIN) + "lorvane.txt";
    return ::stat(help.constData(), &st) == 0 && S_ISREG(st.st_mode);
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
    if (!exeDir.isEmpty() && isWritableFolder(exeDir) &&
        !isInstalledProgramFolder(withTrailingSlash(exeDir)))
        return withTrailingSlash(exeDir);
    makeFolders(userDataDir);
    return withTrailingSlash(userDataDir);
}

QByteArray ProgramFolder() {
    return resolveDataHome(qgetenv("LORVANE_HOME"), executableFolder(), userDataFolder());
}

QByteArrayList HelpTextFiles(const QByteArray& dataHome) {
    const QByteArray name = "lorvane.txt";
    QByteArrayList files{withTrailingSlash(dataHome) + name};
    const QByteArray exeDir = executableFolder();
    if (!exeDir.isEmpty()) {
        for (const QByteArray& file :
             {exeDir + name, joinRelative(exeDir, LORVANE_DATA_FROM_BIN) + name}) {
            if (!files.contains(file))
                files << file;
        }
    }
    return files;
}

} // namespace lorvane
