#pragma once

#include <QObject>

class QMenu;
class QSystemTrayIcon;

// The resident form's icon in the tray, tip "Tarnwick32". A double click asks for the
// configuration dialog, the right button opens the menu, single clicks do nothing;
// under a StatusNotifierItem host, which tells no double click, one activation asks.
// Without a tray host there is no icon; the program works on and nothing is reported.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(QMenu* menu, QObject* parent = nullptr);
    // The icon goes with its owner.
    ~TrayIcon() override;

    static constexpr int kMessageMs = 3000;
    // A short note beside the icon; it goes by itself.
    void showMessage(const QString& text);
    QString lastMessage() const { return m_lastMessage; }

signals:
    void doubleClicked();

private:
    QSystemTrayIcon* m_icon;
    QString m_lastMessage;
};
