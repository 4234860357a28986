#include "InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

QString InstanceFilePath(const QString& name, const QString& suffix) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + u'/' + name + suffix;
}

InstanceLock::InstanceLock(const QString& name)
    : m_lock(InstanceFilePath(name, QStringLiteral(".lock"))) {}

bool InstanceLock::anotherInstanceRuns() {
    if (!m_tried) {
        m_tried = true;
        m_held = m_lock.tryLock(0);
    }
    return !m_held && m_lock.error() == QLockFile::LockFailedError;
}
