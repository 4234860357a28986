#include "files/ByteFile.h"

#include "files/PathText.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane::ByteFile {

namespace {

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

constexpr char temporaryPrefix[] = ".lvn-";
constexpr int temporaryRandomLength = 8;

// A short fixed-length name, so that the temporary file fits wherever the artist file
// fits, and one that the "*.lvn" search never matches.
QByteArray temporaryName() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(temporaryPrefix);
    for (int i = 0; i < temporaryRandomLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name;
}

} // namespace

bool isTemporaryName(const QByteArray& name) {
    return name.startsWith(temporaryPrefix) &&
           name.size() == qsizetype(sizeof temporaryPrefix) - 1 + temporaryRandomLength;
}

QByteArrayList splitLines(const QByteArray& content) {
    QByteArrayList lines;
    const char* data = content.constData();
    const qsizetype size = content.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QByteArray(data + start, i - start));
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(QByteArray(data + start, size - start));
    return lines;
}

QByteArray joinLines(const QByteArrayList& lines) {
    qsizetype total = 0;
    for (const QByteArray& line : lines)
        total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::optional<QByteArray> readRaw(const QByteArray& path, bool* exists) {
    if (exists)
        *exists = false;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || path.isEmpty())
            return QByteArray();
        return std::nullopt;
    }
    QByteArray content;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        content.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, n);
    }
    ::close(fd);
    if (exists)
        *exists = true;
    return content;
}

std::optional<QByteArrayList> read(const QByteArray& path, bool* exists) {
    const std::optional<QByteArray> content = readRaw(path, exists);
    if (!content)
        return std::nullopt;
    return splitLines(*content);
}

QByteArray replacedFile(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    // A link is written through: its target receives the content and the link stays.
    const QByteArray target = resolvedPath(path);
    // A dangling link is replaced, as a missing file is created.
    return target.isEmpty() ? path : target;
}

bool isReplaceable(const QByteArray& path, Links links) {
    const QByteArray target = links == Links::WriteThrough ? replacedFile(path) : path;
    // The rename would replace a file the user may not write; such a file stays as it is.
    const int flags = AT_EACCESS | (links == Links::Replace ? AT_SYMLINK_NOFOLLOW : 0);
    return ::faccessat(AT_FDCWD, target.constData(), F_OK, flags) != 0 ||
           ::faccessat(AT_FDCWD, target.constData(), W_OK, flags) == 0;
}

bool writeAtomic(const QByteArray& path, const QByteArray& content, Links links) {
    if (!isReplaceable(path, links))
        return false;
    const QByteArray target = links == Links::WriteThrough ? replacedFile(path) : path;
    struct stat old {};
    const bool existed = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + temporaryName();
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return false;
    if (existed) {
        // The new file takes the old one's owner and group where the process may (root,
        // or a group it belongs to), then its mode, which a change of owner may clear.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, uid_t(-1), old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    const bool written = writeAll(fd, content.constData(), content.size());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

bool write(const QByteArray& path, const QByteArrayList& lines, Links links) {
    return writeAtomic(path, joinLines(lines), links);
}

bool exists(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0;
}

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool remove(const QByteArray& path) {
    return ::unlink(path.constData()) == 0;
}

bool makeFolder(const QByteArray& path) {
    return ::mkdir(path.constData(), 0777) == 0;
}

} // namespace lorvane::ByteFile
