#include "files/PathText.h"

#include <QByteArrayList>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

QByteArray plainPath(const QByteArray& path) {
    // Most paths are plain already; the artist files hold many.
    const bool plain = !path.contains("//") && !path.contains("/./") && !path.startsWith("./") &&
                       !path.endsWith('/') && !path.endsWith("/.") && path != ".";
    if (path.isEmpty() || plain)
        return path;
    QByteArrayList kept;
    for (const QByteArray& part : path.split('/')) {
        if (!part.isEmpty() && part != ".")
            kept.append(part);
    }
    const bool rooted = path.startsWith('/');
    const QByteArray joined = kept.join('/');
    if (rooted)
        return '/' + joined;
    return joined.isEmpty() ? QByteArrayLiteral(".") : joined;
}

QByteArray absolutePath(const QByteArray& path) {
    if (path.isEmpty() || path.startsWith('/'))
        return plainPath(path);
    // The shell's name for the current folder keeps the links the user went through.
    QByteArray folder = qgetenv("PWD");
    struct stat named {
    }, here{};
    if (!folder.startsWith('/') || ::stat(folder.constData(), &named) != 0 ||
        ::stat(".", &here) != 0 || named.st_dev != here.st_dev || named.st_ino != here.st_ino) {
        char* real = ::getcwd(nullptr, 0);
        if (!real)
            return plainPath(path);
        folder = real;
        std::free(real);
    }
    return plainPath(folder + '/' + path);
}

QByteArray resolvedPath(const QByteArray& path) {
    char* real = ::realpath(path.constData(), nullptr);
    QByteArray out = real ? QByteArray(real) : QByteArray();
    std::free(real);
    return out;
}

} // namespace lorvane
