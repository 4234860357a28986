#include "RawFile.h"

#include "InOutError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string describe(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

RawFile::RawFile(const QByteArray& path, Mode mode) {
    const int flags = (mode == ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    do {
        m_fd = ::open(path.constData(), flags);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throw InOutError(describe("cannot open file"));
}

RawFile::~RawFile() {
    close();
}

void RawFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

qint64 RawFile::size() const {
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        throw InOutError(describe("cannot get file size"));
    return st.st_size;
}

void RawFile::readAt(qint64 pos, char* buf, qint64 n) const {
    if (pos < 0 || n < 0)
        throw InOutError("seek before start of file");
    while (n > 0) {
        const ssize_t got = ::pread(m_fd, buf, size_t(n), off_t(pos));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw InOutError(describe("cannot read file"));
        if (got == 0)
            throw InOutError("read beyond end of file");
        buf += got;
        pos += got;
        n -= got;
    }
}

void RawFile::writeAt(qint64 pos, const char* buf, qint64 n) {
    if (pos < 0 || n < 0)
        throw InOutError("seek before start of file");
    while (n > 0) {
        const ssize_t put = ::pwrite(m_fd, buf, size_t(n), off_t(pos));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw InOutError(describe("cannot write file"));
        buf += put;
        pos += put;
        n -= put;
    }
}

void RawFile::truncate(qint64 length) {
    if (length < 0)
        throw InOutError("seek before start of file");
    int rc;
    do {
        rc = ::ftruncate(m_fd, off_t(length));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        throw InOutError(describe("cannot truncate file"));
}

bool RawFile::exists(const QByteArray& path) {
    struct stat st;
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RawFile::isReadOnly(const QByteArray& path) {
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return false;
    return (st.st_mode & S_IWUSR) == 0;
}

bool RawFile::isWritable(const QByteArray& path) {
    return ::access(path.constData(), W_OK) == 0;
}
