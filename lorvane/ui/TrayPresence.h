// TrayPresence.h: TrayPresence, the main window's tray icon and menu and "Only Show in
// Tray", which keeps the window off the task bar.
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QEvent;
class QMainWindow;
class QMenu;
class QWidget;
class TTrayIcon;
namespace lorvane {
class TaskbarEntry;
}

// The icon shows from the start to the end of the window. While "Only Show in Tray" is
// ticked, the window has no task-bar entry from its first paint on, through every
// minimise, restore and showing again.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    // onlyInTray: the "Only Show in Tray" menu entry.
    TrayPresence(QMainWindow& window, QAction& onlyInTray, QObject* parent = nullptr);

    TTrayIcon* Tray1() const { return m_tray; }
    QMenu* TrayMenu() const { return m_menu; }
    QAction* Open1() const { return m_open; }
    QAction* ExitTray() const { return m_exit; }
    bool firstPaintDone() const { return m_firstPaintDone; }

    // Where "Only Show in Tray" takes the task-bar entry away; none by default.
    void setTaskbarEntry(lorvane::TaskbarEntry* taskbar);
    // Takes the window's task-bar entry away.
    void HideAppWindow();
    // Brings back the last active window of the main window's family.
    void bringBack();
    // "Only Show in Tray" clicked: its check mark is already inverted.
    void MinToTrayClick();

    // The window's events, before and after the window has handled them.
    void windowEvent(QEvent* event);
    void windowEventDone(QEvent* event);

private:
    QMainWindow& m_window;
    QAction& m_onlyInTray;
    QMenu* m_menu = nullptr;
    QAction* m_open = nullptr;
    QAction* m_exit = nullptr;
    TTrayIcon* m_tray = nullptr;
    bool m_firstPaintDone = false;
    lorvane::TaskbarEntry* m_taskbar = nullptr;
    QPointer<QWidget> m_lastActive;
};
