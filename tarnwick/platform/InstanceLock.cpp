#include "InstanceLock.h"

InstanceLock::InstanceLock(const QString& name)
    : m_lock(InstanceFilePath(name, QStringLiteral(".lock"))) {}

bool InstanceLock::anotherInstanceRuns() {
    if (!m_tried) {
        m_tried = true;
        if (m_lock.fileName().isEmpty())
            return false;
        m_held = m_lock.tryLock(0);
    }
    return !m_held && m_lock.error() == QLockFile::LockFailedError;
}
