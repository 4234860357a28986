#include "GraphicalSession.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QtGlobal>

#include <X11/Xlib.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

bool x11Reachable() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

bool waylandReachable() {
    QByteArray path = qgetenv("WAYLAND_DISPLAY");
    if (path.isEmpty())
        return false;
    if (!path.startsWith('/'))
        path = qgetenv("XDG_RUNTIME_DIR") + '/' + path;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// Whether the toolkit has a plugin for the platform (xcb, wayland, offscreen, ...) in
// the folders it loads platform plugins from.
bool pluginInstalled(const QString& platform) {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    for (const QString& folder : std::as_const(folders)) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms
                 .entryList({QStringLiteral("libq") + platform + QStringLiteral("*.so")},
                            QDir::Files)
                 .isEmpty())
            return true;
    }
    return false;
}

bool displayReachable(const QString& platform) {
    if (platform == QLatin1String("xcb"))
        return x11Reachable();
    if (platform.startsWith(QLatin1String("wayland")))
        return waylandReachable();
    return true;
}

} // namespace

QString GraphicalSessionProblem() {
    // The toolkit tries the platforms named in turn; by itself, X11 and, on a Wayland
    // session, Wayland.
    QStringList platforms;
    for (const QString& entry :
         qEnvironmentVariable("QT_QPA_PLATFORM").split(u';', Qt::SkipEmptyParts))
        platforms.append(entry.section(u':', 0, 0));
    if (platforms.isEmpty())
        platforms = {QStringLiteral("wayland"), QStringLiteral("xcb")};
    QStringList missing;
    bool reachable = false;
    for (const QString& platform : std::as_const(platforms)) {
        if (!displayReachable(platform))
            continue;
        reachable = true;
        if (pluginInstalled(platform))
            return {};
        missing.append(platform);
    }
    if (!reachable)
        return QStringLiteral("no X11 or Wayland display could be opened.");
    return QStringLiteral("the display is there, but the Qt platform plugin for %1 is not "
                          "installed (for Wayland, the package qt6-wayland).")
        .arg(missing.join(QStringLiteral(", ")));
}

bool WaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
