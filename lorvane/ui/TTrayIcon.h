#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>

class QMenu;

// The program's icon in the tray. The icon is wanted while Active; it reaches the tray
// only with a picture (Icon, else the IconIndex-th name of IconResources), and the
// component then reads as inactive. The left button raises SimpelFunction on its press
// (so a double click raises it before DefaultFunction), the right button ShowMenu and
// then opens PopupMenu at the pointer. Under a StatusNotifierItem host, the host opens
// PopupMenu itself (ShowMenu is not raised there). Without a tray host there is no icon
// and nothing is reported.
//
// Stands in for a hook on the owner's window procedure: QSystemTrayIcon's activated signal.
class TTrayIcon : public QObject {
    Q_OBJECT
public:
    // The longest tip the tray keeps, in characters.
    static constexpr int MaxTip = 63;

    explicit TTrayIcon(QObject* owner = nullptr);
    // The icon leaves the tray.
    ~TTrayIcon() override;

    // True only when the icon is wanted and a picture is in use.
    bool Active() const;
    void setActive(bool active);

    const QIcon& Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);

    // Names of the program's own icon resources (":/icons/<name>").
    const QStringList& IconResources() const { return m_iconResources; }
    void setIconResources(const QStringList& names);
    // Replaces one entry; the tray is told only when the picture in use changes.
    void setIconResource(int index, const QString& name);

    int IconIndex() const { return m_iconIndex; }
    void setIconIndex(int index);

    // Dropped by itself when the menu is destroyed.
    QMenu* PopupMenu() const;
    void setPopupMenu(QMenu* menu);

    // The component's name until a tip is set; at most MaxTip characters.
    QString Tip() const { return m_tip; }
    void setTip(const QString& tip);

    // The owner has given the designed properties: the icon goes to the tray.
    void Loaded();

    virtual void AddIcon();
    virtual void RemoveIcon();
    virtual void ModifyIcon();
    virtual void PopupAt(const QPoint& screenPos);
    virtual void RefreshIcon();

    // The picture the tray has been given (null before any).
    QIcon iconInUse() const { return m_inUse; }

    // The icon resource of that name, the same object for the same name (so that a
    // resource loaded twice counts as one picture); null when there is none.
    static QIcon ResourceIcon(const QString& name);
    // Text cut to MaxTip characters; a character outside the basic plane counts as one.
    static QString CutTip(const QString& text);

signals:
    void ShowMenu();
    void SimpelFunction();
    void DefaultFunction();

private:
    void TrayMessage(QSystemTrayIcon::ActivationReason reason);
    QIcon CurrentIcon() const;
    void tell(const QIcon& icon);

    QSystemTrayIcon* m_tray;
    bool m_active = true;
    QIcon m_icon;
    QStringList m_iconResources{QStringLiteral("MAINICON")};
    int m_iconIndex = 0;
    QPointer<QMenu> m_popupMenu;
    QString m_tip;
    bool m_tipExplicit = false;
    QIcon m_inUse;         // what the tray record holds
    qint64 m_inUseKey = 0; // stands for the icon handle: 0 while none is in use
};
