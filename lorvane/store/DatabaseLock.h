#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

// One writer at a time on a data home. Every command that changes the database, the
// association file or the playlists holds this lock from its first read to its last
// write, so two programs (two probes, the window and a probe, two users' sessions over
// a shared data home) never lose each other's changes. Readers take no lock.
//
// A Hold keeps the lock until it is destroyed. hold() waits while another process has
// the lock; after a second it tells the waiting sink "Waiting for another program using
// the database...", and when the wait ends it tells it "Lorvane" again. After the
// give-up time (30 s) it tells the sink and throws StoreError "The database is in use
// by another program." before anything was read or changed.
//
// The lock is an advisory flock on ".lorvane.lock" in the data home, a file that exists
// only while a command holds it. Holds nest within
// one process (all DatabaseLock objects over one data home share the one lock), so a
// command may call others that take it too. The program has one thread; the shared
// state below is not guarded for more.
namespace lorvane {

class DatabaseLock {
public:
    using WaitingSink = std::function<void(const QString& caption)>;

    explicit DatabaseLock(const QByteArray& dataHome);

    // Who is told about a wait, for every lock over this data home in this process.
    void setWaitingSink(WaitingSink sink) const;
    // How long hold() waits before it gives up (30 s unless set).
    void setGiveUpAfter(std::chrono::milliseconds wait) { m_giveUpAfter = wait; }

    class Hold {
    public:
        Hold() = default;
        Hold(Hold&& other) noexcept : m_file(std::move(other.m_file)) { other.m_file.clear(); }
        Hold& operator=(Hold&& other) noexcept;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() { release(); }
        void release();

    private:
        friend class DatabaseLock;
        explicit Hold(QByteArray file) : m_file(std::move(file)) {}
        QByteArray m_file; // empty: holds nothing
    };

    // Waits for the lock as described above; throws StoreError when it gives up. A data
    // home where the lock file cannot be made is not locked (its writes fail anyway).
    Hold hold() const;

    const QByteArray& lockFile() const { return m_file; }

    static QString waitingCaption();
    static QString inUseMessage();

private:
    QByteArray m_file;
    std::chrono::milliseconds m_giveUpAfter{30000};
};

} // namespace lorvane
