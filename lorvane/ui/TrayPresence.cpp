#include "TrayPresence.h"

#include "TTrayIcon.h"

#include "platform/TaskbarEntry.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QWindow>

TrayPresence::TrayPresence(QMainWindow& window, QAction& onlyInTray, QObject* parent)
    : QObject(parent), m_window(window), m_onlyInTray(onlyInTray) {
    const QIcon programIcon = TTrayIcon::ResourceIcon(QStringLiteral("MAINICON"));
    window.setWindowIcon(programIcon);

    m_menu = new QMenu(&window);
    m_menu->setObjectName(QStringLiteral("TrayMenu"));
    m_open = m_menu->addAction(QStringLiteral("&Open"));
    m_open->setObjectName(QStringLiteral("Open1"));
    m_exit = m_menu->addAction(QStringLiteral("E&xit"));
    m_exit->setObjectName(QStringLiteral("ExitTray"));

    m_tray = new TTrayIcon(&window);
    m_tray->setObjectName(QStringLiteral("Tray1"));
    m_tray->setIcon(programIcon);
    m_tray->setIconResources({QStringLiteral("MAINICON")});
    m_tray->setIconIndex(0);
    m_tray->setPopupMenu(m_menu);
    m_tray->setTip(QStringLiteral("Lorvane"));
    m_tray->Loaded();

    // The window to bring back is the last active one of this window's family, menus aside.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        QWidget* active = QApplication::activeWindow();
        if (!active || active->windowType() == Qt::Popup)
            return;
        for (QWidget* w = active; w; w = w->parentWidget()) {
            if (w == &m_window) {
                m_lastActive = active;
                return;
            }
        }
    });
}

void TrayPresence::setTaskbarEntry(lorvane::TaskbarEntry* taskbar) {
    m_taskbar = taskbar;
    if (m_firstPaintDone && m_onlyInTray.isChecked())
        HideAppWindow();
}

void TrayPresence::bringBack() {
    if (m_window.isMinimized())
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    QWidget* last = m_lastActive && m_lastActive->isVisible() ? m_lastActive.data() : &m_window;
    last->show();
    last->raise();
    last->activateWindow();
}

void TrayPresence::HideAppWindow() {
    if (!m_taskbar)
        return;
    m_window.winId(); // the entry belongs to the native window
    m_taskbar->setSkipped(m_window.windowHandle(), true);
}

void TrayPresence::MinToTrayClick() {
    if (m_onlyInTray.isChecked())
        HideAppWindow();
    else if (m_taskbar && m_window.windowHandle())
        m_taskbar->setSkipped(m_window.windowHandle(), false);
}

void TrayPresence::windowEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
        if (!m_firstPaintDone) {
            m_firstPaintDone = true;
            if (m_onlyInTray.isChecked())
                HideAppWindow();
        }
        break;
    // Every minimise and restore, and a window shown again (a withdrawn window loses its
    // state on X11), leave it without a task-bar entry; on showing it is set before the
    // window reaches the screen, so the entry never flashes up.
    case QEvent::WindowStateChange:
    case QEvent::Show:
        if (m_onlyInTray.isChecked())
            HideAppWindow();
        break;
    default:
        break;
    }
}

void TrayPresence::windowEventDone(QEvent* event) {
    if (event->type() == QEvent::Close && event->isAccepted())
        m_tray->setActive(false);
}
