#include "TrayIcon.h"

#include "ProgramIcon.h"
#include "platform/TrayHost.h"

#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QMenu* menu, QObject* parent)
    : QObject(parent), m_icon(new QSystemTrayIcon(ProgramIcon(), this)) {
    m_icon->setToolTip(QStringLiteral("Tarnwick32"));
    // Handing the menu to the icon lets Qt open it the way the tray host expects
    // (on the right button of an embedded icon, from the host's own menu otherwise).
    m_icon->setContextMenu(menu);
    // A StatusNotifierItem host sends a double click as two activations: there one
    // activation is what the double click is elsewhere.
    const bool notifierItem = StatusNotifierHostRegistered();
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this, notifierItem](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick ||
                    (notifierItem && reason == QSystemTrayIcon::Trigger))
                    emit doubleClicked();
            });
    m_icon->show();
}

TrayIcon::~TrayIcon() {
    m_icon->hide();
}

void TrayIcon::showMessage(const QString& text) {
    m_lastMessage = text;
    m_icon->showMessage(QStringLiteral("Tarnwick32"), text, ProgramIcon(), kMessageMs);
}
