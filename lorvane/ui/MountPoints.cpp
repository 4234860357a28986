#include "MountPoints.h"

#include "files/FileSystems.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>

#include <sys/stat.h>

int DriveCode(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return 0;
    // Kept as a 32-bit value: the low bits of the device number are what tell
    // file systems of one machine apart.
    return int(quint32(st.st_dev));
}

QList<MountPoint> MountPoints() {
    QList<MountPoint> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // No songs live on proc, sysfs and their like; a scan would not enter them.
        if (lorvane::IsPseudoFileSystemType(volume.fileSystemType()))
            continue;
        QByteArray root = QFile::encodeName(volume.rootPath());
        struct stat st {};
        if (::stat(root.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        if (!root.endsWith('/'))
            root += '/';
        MountPoint m;
        m.root = root;
        m.label = volume.rootPath();
        if (!volume.name().isEmpty())
            m.label += QStringLiteral("  [%1]").arg(volume.name());
        m.code = int(quint32(st.st_dev));
        mounts << m;
    }
    std::sort(mounts.begin(), mounts.end(),
              [](const MountPoint& a, const MountPoint& b) { return a.root < b.root; });
    mounts.erase(
        std::unique(mounts.begin(), mounts.end(),
                    [](const MountPoint& a, const MountPoint& b) { return a.root == b.root; }),
        mounts.end());
    if (mounts.isEmpty())
        mounts << MountPoint{"/", QStringLiteral("/"), DriveCode("/")};
    return mounts;
}

int MountOf(const QList<MountPoint>& mounts, const QByteArray& path) {
    QByteArray folder = path;
    if (!folder.endsWith('/'))
        folder += '/';
    int best = -1;
    for (int i = 0; i < mounts.size(); ++i) {
        if (folder.startsWith(mounts[i].root) &&
            (best < 0 || mounts[i].root.size() > mounts[best].root.size()))
            best = i;
    }
    return best;
}
