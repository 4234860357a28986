#include "store/DatabaseLock.h"

#include "files/DataHome.h"
#include "store/StoreError.h"

#include <QElapsedTimer>
#include <QHash>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

namespace {

constexpr qint64 NoticeAfterMs = 1000;
constexpr long PollNs = 20 * 1000 * 1000;

// flock belongs to an open file description: a second open in this process would wait
// for the first. So each lock file is opened once and its holds are counted.
struct Held {
    int fd = -1;
    int depth = 0;
    DatabaseLock::WaitingSink sink;
};

QHash<QByteArray, Held>& held() {
    static QHash<QByteArray, Held> all;
    return all;
}

int openLockFile(const QByteArray& file) {
    int fd;
    // A link in the lock file's place (dangling, or to a file elsewhere) would have
    // the open create or lock what it points to: the link goes, a plain file takes
    // its place.
    for (int attempt = 0; attempt < 3; ++attempt) {
        do {
            fd = ::open(file.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        // A lock file another user made without write access for us still locks.
        if (fd < 0 && errno == EACCES)
            fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 || errno != ELOOP)
            return fd;
        struct stat st {};
        if (::lstat(file.constData(), &st) != 0 || !S_ISLNK(st.st_mode) ||
            ::unlink(file.constData()) != 0)
            return -1;
    }
    return -1;
}

enum class Attempt { Locked, Busy, Unlockable };

Attempt tryLock(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Attempt::Locked;
        if (errno == EWOULDBLOCK)
            return Attempt::Busy;
        if (errno != EINTR)
            return Attempt::Unlockable;
    }
}

// Whether fd is still the file that the name stands for.
bool isLockFile(int fd, const QByteArray& file) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(file.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The sink is called through a copy: it may run an event loop that locks other homes.
void tell(const QByteArray& file, const QString& caption) {
    const DatabaseLock::WaitingSink sink = held().value(file).sink;
    if (sink)
        sink(caption);
}

} // namespace

DatabaseLock::DatabaseLock(const QByteArray& dataHome)
    : m_file(withTrailingSlash(dataHome) + ".lorvane.lock") {}

void DatabaseLock::setWaitingSink(WaitingSink sink) const {
    held()[m_file].sink = std::move(sink);
}

QString DatabaseLock::waitingCaption() {
    return QStringLiteral("Waiting for another program using the database...");
}

QString DatabaseLock::inUseMessage() {
    return QStringLiteral("The database is in use by another program.");
}

DatabaseLock::Hold DatabaseLock::hold() const {
    if (Held& entry = held()[m_file]; entry.depth > 0) {
        ++entry.depth;
        return Hold(m_file);
    }
    QElapsedTimer waited;
    waited.start();
    bool noticed = false;
    // Tells the sink that the wait is over, whichever way it ended.
    const auto endWait = [&] {
        if (noticed)
            tell(m_file, QStringLiteral("Lorvane"));
    };
    int fd = -1;
    for (;;) {
        fd = openLockFile(m_file);
        if (fd < 0) {
            endWait();
            return Hold();
        }
        Attempt attempt = tryLock(fd);
        while (attempt == Attempt::Busy) {
            if (waited.elapsed() >= m_giveUpAfter.count()) {
                ::close(fd);
                // The caption is the status line: it keeps the reason where a command
                // has no error to show.
                tell(m_file, inUseMessage());
                throw StoreError(inUseMessage());
            }
            if (!noticed && waited.elapsed() >= NoticeAfterMs) {
                tell(m_file, waitingCaption());
                noticed = true;
            }
            const timespec pause{0, PollNs};
            ::nanosleep(&pause, nullptr);
            attempt = tryLock(fd);
        }
        // A file system without locks (some network shares): go on as the program
        // always did.
        if (attempt == Attempt::Unlockable) {
            ::close(fd);
            endWait();
            return Hold();
        }
        if (isLockFile(fd, m_file))
            break;
        // The holder removed the file as it let go: lock the one that is there now.
        ::close(fd);
    }
    endWait();
    // The sink may have run an event loop; look the entry up again.
    Held& entry = held()[m_file];
    entry.fd = fd;
    entry.depth = 1;
    return Hold(m_file);
}

DatabaseLock::Hold& DatabaseLock::Hold::operator=(Hold&& other) noexcept {
    if (this != &other) {
        release();
        m_file = std::move(other.m_file);
        other.m_file.clear();
    }
    return *this;
}

void DatabaseLock::Hold::release() {
    if (m_file.isEmpty())
        return;
    auto it = held().find(m_file);
    m_file.clear();
    if (it == held().end() || it->depth == 0)
        return;
    if (--it->depth == 0) {
        // Removed while still locked, so the data home is left as it was found; whoever
        // waits on this file sees that it is gone and locks a new one.
        ::unlink(it.key().constData());
        ::flock(it->fd, LOCK_UN);
        ::close(it->fd);
        it->fd = -1;
    }
}

} // namespace lorvane
