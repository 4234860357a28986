#pragma once

#include "InstanceFolder.h"

#include <QLockFile>
#include <QString>

// The previous-instance test: a lock file in the instance folder, held for as long as
// this object lives. A crashed holder's lock counts as free; without an instance folder
// no other instance is taken to run.
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
