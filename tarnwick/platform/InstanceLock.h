#pragma once

#include <QLockFile>
#include <QString>

// A file of the program's instance in the user's runtime folder (the lock, the
// command socket beside it).
QString InstanceFilePath(const QString& name, const QString& suffix);

// The previous-instance test: a lock file in the user's runtime folder, held
// for as long as this object lives. A crashed holder's lock counts as free.
class InstanceLock {
public:
    explicit InstanceLock(const QString& name = QStringLiteral("Tarnwick32"));

    // True when another process of this user holds the lock.
    bool anotherInstanceRuns();

private:
    QLockFile m_lock;
    bool m_tried = false;
    bool m_held = false;
};
