#include "platform/TrayHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace lorvane {

bool StatusNotifierTray() {
    static const bool watcher = [] {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.isConnected() && bus.interface() &&
               bus.interface()
                   ->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"))
                   .value();
    }();
    return watcher;
}

} // namespace lorvane
