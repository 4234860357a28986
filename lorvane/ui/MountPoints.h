#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The "drives" of the add panel: the mounted file systems, each by its root folder.
// A drive is remembered across runs by its number (the device number of its root),
// which names the mounted file system as a drive letter named a drive.
struct MountPoint {
    QByteArray root; // ends in "/"
    QString label;   // what the drive chooser shows
    int code = 0;    // the number kept in the settings
};

// Mounted file systems whose root is a folder, ordered by root.
QList<MountPoint> MountPoints();

// The number of the file system holding path; 0 when it cannot be read.
int DriveCode(const QByteArray& path);

// Index in mounts of the mount point holding path (the longest matching root), -1 if none.
int MountOf(const QList<MountPoint>& mounts, const QByteArray& path);
