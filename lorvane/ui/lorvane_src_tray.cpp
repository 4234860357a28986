// The main window's tray icon and menu, "Only Show in Tray", the first paint and the
// end of the window.
#include "MainWindow.h"

#include "TTrayIcon.h"
#include "ui_MainWindow.h"

#include "platform/TaskbarEntry.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QWindow>

void TForm1::buildTray() {
    const QIcon programIcon = TTrayIcon::ResourceIcon(QStringLiteral("MAINICON"));
    setWindowIcon(programIcon);

    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    Open1 = TrayMenu->addAction(QStringLiteral("&Open"));
    Open1->setObjectName(QStringLiteral("Open1"));
    ExitTray = TrayMenu->addAction(QStringLiteral("E&xit"));
    ExitTray->setObjectName(QStringLiteral("ExitTray"));
    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(ExitTray, &QAction::triggered, this, &TForm1::ExitTrayClick);

    Tray1 = new TTrayIcon(this);
    Tray1->setObjectName(QStringLiteral("Tray1"));
    Tray1->setIcon(programIcon);
    Tray1->setIconResources({QStringLiteral("MAINICON")});
    Tray1->setIconIndex(0);
    Tray1->setPopupMenu(TrayMenu);
    Tray1->setTip(QStringLiteral("Lorvane"));
    connect(Tray1, &TTrayIcon::SimpelFunction, this, &TForm1::Tray1SimpelFunction);
    Tray1->Loaded();

    connect(m_ui->MinToTray, &QAction::triggered, this, &TForm1::MinToTrayClick);

    // The window to bring back is the last active one of this window's family, menus aside.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        QWidget* active = QApplication::activeWindow();
        if (!active || active->windowType() == Qt::Popup)
            return;
        for (QWidget* w = active; w; w = w->parentWidget()) {
            if (w == this) {
                m_lastActive = active;
                return;
            }
        }
    });
}

void TForm1::setTaskbarEntry(lorvane::TaskbarEntry* taskbar) {
    m_taskbar = taskbar;
    if (FirstPaintDone && m_ui->MinToTray->isChecked())
        HideAppWindow();
}

void TForm1::Tray1SimpelFunction() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget* last = m_lastActive && m_lastActive->isVisible() ? m_lastActive.data() : this;
    last->show();
    last->raise();
    last->activateWindow();
}

void TForm1::Open1Click() {
    Tray1SimpelFunction();
}

void TForm1::ExitTrayClick() {
    ExitClickClick();
}

void TForm1::HideAppWindow() {
    if (!m_taskbar)
        return;
    winId(); // the entry belongs to the native window
    m_taskbar->setSkipped(windowHandle(), true);
}

// A checkable menu entry has inverted its check mark before it reports the click.
void TForm1::MinToTrayClick() {
    if (m_ui->MinToTray->isChecked())
        HideAppWindow();
    else if (m_taskbar && windowHandle())
        m_taskbar->setSkipped(windowHandle(), false);
}

bool TForm1::event(QEvent* event) {
    // Events reach the window while it is still being built; the tray comes last.
    const auto trayOnly = [this] { return Tray1 && m_ui->MinToTray->isChecked(); };
    switch (event->type()) {
    case QEvent::Paint:
        if (!FirstPaintDone) {
            FirstPaintDone = true;
            if (trayOnly())
                HideAppWindow();
        }
        break;
    // Every minimise and restore, and a window shown again (a withdrawn window loses its
    // state on X11), leave it without a task-bar entry; on showing it is set before the
    // window reaches the screen, so the entry never flashes up.
    case QEvent::WindowStateChange:
    case QEvent::Show:
        if (trayOnly())
            HideAppWindow();
        break;
    default:
        break;
    }
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Close && event->isAccepted() && Tray1)
        Tray1->setActive(false);
    return handled;
}
