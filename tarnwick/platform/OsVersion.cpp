#include "OsVersion.h"

#include <QStringList>

#include <sys/utsname.h>

std::optional<OsVersionInfo> QueryOsVersion() {
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    OsVersionInfo info;
    // A release reads like "6.1.0-18-amd64": major, minor, then the patch level.
    const QString release = QString::fromLocal8Bit(names.release);
    const QStringList parts = release.section(u'-', 0, 0).split(u'.');
    if (parts.size() > 0)
        info.majorVersion = parts[0].toUInt();
    if (parts.size() > 1)
        info.minorVersion = parts[1].toUInt();
    if (parts.size() > 2)
        info.buildNumber = parts[2].toUInt();
    info.platformId = OsVersionInfo::Other;
    info.serviceText = QString::fromLocal8Bit(names.sysname) + u' ' + release;
    return info;
}
