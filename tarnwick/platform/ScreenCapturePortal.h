#pragma once

#include "ScreenCapture.h"

#include <QDBusConnection>
#include <QVariantMap>

#include <optional>

class QEventLoop;

// The screen of a Wayland session, where the X root window holds only X clients:
// asked of the desktop's screenshot portal (org.freedesktop.portal.Screenshot), without
// its interactive dialog. The portal answers through a request object with the URI of a
// picture file, which is read and removed when it is a new picture file of the user's. It offers no
// window choice, so a window asked for gives the whole screen, with a note saying so.
class ScreenCapturePortal : public ScreenCapture {
    Q_OBJECT
public:
    // Long enough for a desktop that asks the user once whether tarnwick may take
    // screenshots; the event loop runs meanwhile, so the tray stays usable.
    static constexpr int kAnswerMs = 60000;

    explicit ScreenCapturePortal(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    QImage capture(CaptureKind kind) override;

private slots:
    void response(uint code, const QVariantMap& results);

private:
    void listenOn(const QString& requestPath);
    QImage readPicture();

    QDBusConnection m_bus;
    QEventLoop* m_wait = nullptr;
    QStringList m_listening;
    std::optional<uint> m_code;
    QVariantMap m_results;
    int m_requests = 0;
    qint64 m_askedMs = 0;
};
