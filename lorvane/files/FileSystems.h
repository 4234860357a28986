#pragma once

#include <QByteArray>

// The file systems the kernel makes up (proc, sysfs, devtmpfs, devpts, cgroup,
// tracefs and the like) hold no songs, and walking them costs minutes or never ends:
// a scan leaves them out.
namespace lorvane {

// Whether a file-system type, as the mount table names it, is one of those.
bool IsPseudoFileSystemType(const QByteArray& type);

// Whether folder lies on one of them; false when it cannot be told.
bool IsOnPseudoFileSystem(const QByteArray& folder);

} // namespace lorvane
