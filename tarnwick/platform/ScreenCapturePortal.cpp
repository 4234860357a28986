#include "ScreenCapturePortal.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// File times may lag the clock by a tick of the file system.
constexpr qint64 kFileClockSlackMs = 1000;

// What the portal's answer names, as it is now: a regular file (a link is not
// followed) of this user, made since the request.
bool newFileOfTheUser(const QString& path, qint64 askedMs, struct stat& st) {
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const qint64 madeMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && madeMs >= askedMs - kFileClockSlackMs;
}

bool portalMissing(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

ScreenCapturePortal::ScreenCapturePortal(QDBusConnection bus, QObject* parent)
    : ScreenCapture(parent), m_bus(std::move(bus)) {}

void ScreenCapturePortal::listenOn(const QString& requestPath) {
    if (m_listening.contains(requestPath))
        return;
    m_listening.append(requestPath);
    m_bus.connect(kService, requestPath, kRequest, QStringLiteral("Response"), this,
                  SLOT(response(uint, QVariantMap)));
}

void ScreenCapturePortal::response(uint code, const QVariantMap& results) {
    m_code = code;
    m_results = results;
    if (m_wait)
        m_wait->quit();
}

QImage ScreenCapturePortal::capture(CaptureKind kind) {
    if (m_wait) {
        setOutcome(QStringLiteral("A screenshot is already being taken."));
        return {};
    }
    if (!m_bus.isConnected()) {
        setOutcome(QStringLiteral("The session bus cannot be reached, so the desktop's "
                                  "screenshot portal cannot be asked."));
        return {};
    }
    // The answer comes on a request object named after our bus name and a token of
    // ours: listening there before asking means it cannot slip past.
    const QString token =
        QStringLiteral("tarnwick%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_requests);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    m_code.reset();
    m_results.clear();
    listenOn(kPath + QStringLiteral("/request/") + sender + u'/' + token);

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("Screenshot"));
    call << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false}};
    m_askedMs = QDateTime::currentMSecsSinceEpoch();
    QEventLoop wait;
    m_wait = &wait;
    QDBusError callError;
    QDBusPendingCallWatcher watcher(m_bus.asyncCall(call, kAnswerMs));
    connect(&watcher, &QDBusPendingCallWatcher::finished, &wait, [&] {
        const QDBusPendingReply<QDBusObjectPath> reply = watcher;
        if (reply.isError()) {
            callError = reply.error();
            wait.quit();
        } else {
            // An older portal names the request object its own way.
            listenOn(reply.value().path());
        }
    });
    QTimer::singleShot(kAnswerMs, &wait, &QEventLoop::quit);
    if (!m_code)
        wait.exec();
    m_wait = nullptr;
    for (const QString& path : std::as_const(m_listening)) {
        m_bus.disconnect(kService, path, kRequest, QStringLiteral("Response"), this,
                         SLOT(response(uint, QVariantMap)));
    }
    m_listening.clear();

    if (callError.isValid()) {
        setOutcome((portalMissing(callError)
                        ? QStringLiteral("The desktop offers no screenshot portal (%1).")
                        : QStringLiteral("The desktop's screenshot portal failed (%1)."))
                       .arg(callError.message()));
        return {};
    }
    if (!m_code) {
        setOutcome(QStringLiteral("The desktop's screenshot portal did not answer."));
        return {};
    }
    if (*m_code != 0) {
        setOutcome(*m_code == 1
                       ? QStringLiteral("The desktop's screenshot portal refused the screenshot.")
                       : QStringLiteral("The desktop's screenshot portal ended the request "
                                        "without a screenshot."));
        return {};
    }
    QImage image = readPicture();
    if (image.isNull()) {
        setOutcome(QStringLiteral("The picture from the desktop's screenshot portal could not "
                                  "be read."));
        return {};
    }
    setOutcome({}, kind == CaptureKind::ActiveWindow
                       ? QStringLiteral("The desktop's screenshot portal offers no choice of "
                                        "window: Tarnwick32 prints the whole screen instead.")
                       : QString());
    return image;
}

// The picture file is ours once handed over; it is not left lying about. Nothing else
// the answer may name is read or removed: it comes from whoever owns the portal's name.
QImage ScreenCapturePortal::readPicture() {
    const QUrl uri(m_results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        return {};
    const QString path = uri.toLocalFile();
    struct stat named {};
    if (!newFileOfTheUser(path, m_askedMs, named))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The file read is the one looked at, not one put in its place meanwhile.
    struct stat opened {};
    if (::fstat(file.handle(), &opened) != 0 || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino)
        return {};
    QImage image = QImage::fromData(file.readAll());
    file.close();
    struct stat now {};
    if (!image.isNull() && newFileOfTheUser(path, m_askedMs, now) && now.st_dev == named.st_dev &&
        now.st_ino == named.st_ino)
        QFile::remove(path);
    return image;
}
