#include "InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString lockPath(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + u'/' + name + QStringLiteral(".lock");
}

} // namespace

InstanceLock::InstanceLock(const QString& name) : m_lock(lockPath(name)) {}

bool InstanceLock::anotherInstanceRuns() {
    if (!m_tried) {
        m_tried = true;
        m_held = m_lock.tryLock(0);
    }
    return !m_held && m_lock.error() == QLockFile::LockFailedError;
}
