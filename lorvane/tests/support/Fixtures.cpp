#include "Fixtures.h"

#include "files/FolderListing.h"

#include <cstdio>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace coretest {

void writeBytes(const QByteArray& path, const QByteArray& content) {
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (path[i] == '/')
            ::mkdir(path.left(i).constData(), 0777);
    }
    if (path.endsWith('/'))
        return;
    FILE* file = std::fopen(path.constData(), "wb");
    if (!file ||
        std::fwrite(content.constData(), 1, size_t(content.size()), file) != size_t(content.size()))
        qFatal("cannot write %s", path.constData());
    std::fclose(file);
}

QByteArray readBytes(const QByteArray& path) {
    FILE* file = std::fopen(path.constData(), "rb");
    if (!file)
        return QByteArray("<missing>");
    QByteArray content;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, qsizetype(n));
    std::fclose(file);
    return content;
}

bool pathExists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

static void collect(const QByteArray& root, const QByteArray& relative,
                    QMap<QByteArray, QByteArray>& into) {
    for (const lorvane::FolderEntry& entry : lorvane::listFolder(root + relative)) {
        const QByteArray path = relative + entry.name;
        if (entry.folder) {
            into.insert(path, "<folder>");
            collect(root, path + '/', into);
        } else {
            into.insert(path, readBytes(root + path));
        }
    }
}

void removeTree(const QByteArray& root) {
    ::nftw(
        root.constData(),
        [](const char* path, const struct stat*, int type, struct FTW*) {
            if (type == FTW_DP)
                ::rmdir(path);
            else
                ::unlink(path);
            return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
}

QMap<QByteArray, QByteArray> snapshot(const QByteArray& root) {
    QMap<QByteArray, QByteArray> tree;
    collect(root.endsWith('/') ? root : root + '/', QByteArray(), tree);
    return tree;
}

} // namespace coretest
