#include "fakes/FakeMprisPlayer.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

namespace lorvane::test {

namespace {

// Control calls may wait behind a handler that sleeps on purpose.
constexpr int ControlTimeoutMs = 20000;

} // namespace

FakeMprisPlayer::FakeMprisPlayer(QString name, QStringList options)
    : m_name(std::move(name)), m_options(std::move(options)) {}

FakeMprisPlayer::~FakeMprisPlayer() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    control(QStringLiteral("Quit"));
    if (!m_process.waitForFinished(5000))
        kill();
}

QString FakeMprisPlayer::service() const {
    return QStringLiteral("org.mpris.MediaPlayer2.") + m_name;
}

bool FakeMprisPlayer::start() {
    const QString program = qEnvironmentVariable("PLAYER_FAKE_MPRIS");
    if (program.isEmpty())
        return false;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, QStringList{m_name} + m_options);
    if (!m_process.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (QDBusConnection::sessionBus().interface()->isServiceRegistered(service()))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(50);
    }
    return false;
}

void FakeMprisPlayer::kill() {
    m_process.kill();
    m_process.waitForFinished(5000);
    // The bus drops the name a moment after the process is gone.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() &&
           QDBusConnection::sessionBus().interface()->isServiceRegistered(service()))
        QThread::msleep(20);
}

void FakeMprisPlayer::control(const QString& method, const QVariantList& args) {
    auto msg = QDBusMessage::createMethodCall(service(), QStringLiteral("/control"),
                                              QStringLiteral("org.lorvane.FakePlayer"), method);
    msg.setArguments(args);
    QDBusConnection::sessionBus().call(msg, QDBus::Block, ControlTimeoutMs);
}

void FakeMprisPlayer::setTrack(const QString& title, const QStringList& artists, const QString& url,
                               qlonglong lengthUs, const QString& trackId) {
    control(QStringLiteral("SetTrack"), {title, artists, url, lengthUs, trackId});
}

void FakeMprisPlayer::setPosition(qlonglong us) {
    control(QStringLiteral("SetPosition"), {us});
}

void FakeMprisPlayer::setStatus(const QString& status) {
    control(QStringLiteral("SetStatus"), {status});
}

void FakeMprisPlayer::setCanEditTracks(bool can) {
    control(QStringLiteral("SetCanEditTracks"), {can});
}

void FakeMprisPlayer::setHang(int ms) {
    control(QStringLiteral("SetHang"), {ms});
}

QStringList FakeMprisPlayer::calls() {
    return list(QStringLiteral("Calls"));
}

QStringList FakeMprisPlayer::trackUris() {
    return list(QStringLiteral("TrackUris"));
}

QStringList FakeMprisPlayer::list(const QString& method) {
    auto msg = QDBusMessage::createMethodCall(service(), QStringLiteral("/control"),
                                              QStringLiteral("org.lorvane.FakePlayer"), method);
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(msg, QDBus::Block, ControlTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toStringList();
}

QStringList FakeMprisPlayer::commands() {
    QStringList result;
    for (const QString& call : calls()) {
        if (!call.startsWith(QLatin1String("get ")))
            result.append(call);
    }
    return result;
}

void FakeMprisPlayer::clearCalls() {
    control(QStringLiteral("ClearCalls"));
}

} // namespace lorvane::test
