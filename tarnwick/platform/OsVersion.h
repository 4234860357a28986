#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The system's version record as the system-kind rules read it.
struct OsVersionInfo {
    enum Platform : quint32 {
        Win32s = 0,
        Windows = 1, // the Windows 95 family
        WindowsNT = 2,
        Other = 0xFFFFFFFF, // any system outside the Windows families
    };

    quint32 majorVersion = 0;
    quint32 minorVersion = 0;
    quint32 buildNumber = 0;
    quint32 platformId = Other;
    QString serviceText;
};

// The running system's version record (on Linux the kernel's release numbers,
// platform Other); nothing when the query fails.
std::optional<OsVersionInfo> QueryOsVersion();
