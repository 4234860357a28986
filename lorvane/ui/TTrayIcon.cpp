#include "TTrayIcon.h"

#include "platform/TrayHost.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QHash>
#include <QMenu>
#include <QPixmap>

namespace {

QHash<QString, QIcon>& loadedResources() {
    static QHash<QString, QIcon> loaded;
    return loaded;
}

qint64 handleOf(const QIcon& icon) {
    return icon.isNull() ? 0 : icon.cacheKey();
}

} // namespace

// The resources live in a static library: register them before first use.
static void initResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(lorvane_icons);
        // The pictures go before the application that draws them.
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QObject::destroyed, [] { loadedResources().clear(); });
        return true;
    }();
    (void)done;
}

TTrayIcon::TTrayIcon(QObject* owner) : QObject(owner), m_tray(new QSystemTrayIcon(this)) {
    connect(m_tray, &QSystemTrayIcon::activated, this, &TTrayIcon::TrayMessage);
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        if (m_tipExplicit)
            return;
        m_tip = CutTip(name);
        ModifyIcon();
    });
}

TTrayIcon::~TTrayIcon() {
    RemoveIcon();
}

QIcon TTrayIcon::ResourceIcon(const QString& name) {
    initResources();
    auto found = loadedResources().constFind(name);
    if (found != loadedResources().constEnd())
        return *found;
    const QPixmap picture(QStringLiteral(":/icons/") + name);
    if (picture.isNull())
        return QIcon();
    return *loadedResources().insert(name, QIcon(picture));
}

QString TTrayIcon::CutTip(const QString& text) {
    qsizetype end = 0;
    for (int characters = 0; characters < MaxTip && end < text.size(); ++characters) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

bool TTrayIcon::Active() const {
    return m_active && m_inUseKey != 0;
}

void TTrayIcon::setActive(bool active) {
    if (active == Active())
        return;
    m_active = active;
    if (active)
        AddIcon();
    else
        RemoveIcon();
}

void TTrayIcon::setIcon(const QIcon& icon) {
    m_icon = icon;
    ModifyIcon();
}

void TTrayIcon::setIconResources(const QStringList& names) {
    m_iconResources = names;
    ModifyIcon();
}

void TTrayIcon::setIconResource(int index, const QString& name) {
    if (index < 0 || index >= m_iconResources.size())
        return;
    m_iconResources[index] = name;
    RefreshIcon();
}

void TTrayIcon::setIconIndex(int index) {
    if (index == m_iconIndex)
        return;
    m_iconIndex = index;
    if (m_icon.isNull())
        ModifyIcon();
}

QMenu* TTrayIcon::PopupMenu() const {
    return m_popupMenu;
}

void TTrayIcon::setPopupMenu(QMenu* menu) {
    m_popupMenu = menu;
    // A StatusNotifierItem host opens the menu itself and gets it (over DBusMenu) only
    // as the context menu; an XEmbed tray is left to the right button below, which
    // raises ShowMenu before the menu opens.
    if (lorvane::StatusNotifierTray())
        m_tray->setContextMenu(menu);
}

void TTrayIcon::setTip(const QString& tip) {
    m_tip = CutTip(tip);
    m_tipExplicit = true;
    ModifyIcon();
}

void TTrayIcon::Loaded() {
    AddIcon();
}

QIcon TTrayIcon::CurrentIcon() const {
    if (!m_icon.isNull())
        return m_icon;
    if (m_iconIndex >= 0 && m_iconIndex < m_iconResources.size())
        return ResourceIcon(m_iconResources.at(m_iconIndex));
    return QIcon();
}

void TTrayIcon::tell(const QIcon& icon) {
    m_inUse = icon;
    m_inUseKey = handleOf(icon);
    m_tray->setIcon(icon);
    m_tray->setToolTip(m_tip);
}

void TTrayIcon::AddIcon() {
    tell(CurrentIcon());
    // No picture: nothing is added and nothing reported; the component reads as inactive.
    if (m_inUseKey != 0)
        m_tray->show();
}

void TTrayIcon::RemoveIcon() {
    m_tray->hide();
}

void TTrayIcon::ModifyIcon() {
    if (!Active())
        return;
    tell(CurrentIcon());
    // A picture taken away leaves no empty place in the tray.
    if (m_inUseKey == 0)
        m_tray->hide();
}

void TTrayIcon::RefreshIcon() {
    if (handleOf(CurrentIcon()) != m_inUseKey)
        ModifyIcon();
}

void TTrayIcon::PopupAt(const QPoint& screenPos) {
    // The menu grabs the pointer itself, so no window of ours needs to come forward first.
    if (m_popupMenu)
        m_popupMenu->popup(screenPos);
}

void TTrayIcon::TrayMessage(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        emit SimpelFunction();
        break;
    case QSystemTrayIcon::DoubleClick:
        emit DefaultFunction();
        break;
    case QSystemTrayIcon::Context:
        emit ShowMenu();
        PopupAt(QCursor::pos());
        break;
    default:
        break;
    }
}
