#include "support/RealPlayers.h"

#include "support/ChildProcess.h"

#include <QDBusConnectionInterface>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace lorvane::test {

namespace {

constexpr int StartTimeoutMs = 20000;
constexpr uid_t Nobody = 65534;

QByteArray wave(int seconds) {
    const quint32 rate = 8000;
    const quint32 data = rate * quint32(seconds);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    // The RIFF header, a format chunk (PCM, mono, 8 bits), then the samples.
    s.writeRawData("RIFF", 4);
    s << quint32(36 + data);
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
    s.writeRawData("data", 4);
    s << data;
    return out + QByteArray(qsizetype(data), char(0x80)); // 8-bit silence is the middle
}

} // namespace

RealPlayers::RealPlayers() : m_dir(QDir::tempPath() + QStringLiteral("/lorvane-players-XXXXXX")) {
    m_connectionName = QStringLiteral("realplayers-%1").arg(quintptr(this));
    if (!m_dir.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return;
    }
    m_folder = QFile::encodeName(m_dir.path());
    // nobody must reach the bus socket, the sounds and its own home in here.
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        m_problem = QStringLiteral("dbus-daemon is not installed");
        return;
    }
    const QString socket = m_dir.path() + QStringLiteral("/bus");
    m_address = QStringLiteral("unix:path=") + socket;
    QFile config(m_dir.path() + QStringLiteral("/bus.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        m_problem = QStringLiteral("cannot write the bus configuration");
        return;
    }
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>%1</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow user=\"*\"/><allow own=\"*\"/>"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow receive_sender=\"*\"/>"
                     "</policy></busconfig>\n")
                     .arg(m_address)
                     .toUtf8());
    config.close();
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.setChildProcessModifier(endWithTest);
    m_daemon.start(
        QStringLiteral("dbus-daemon"),
        {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config.fileName()});
    if (!m_daemon.waitForStarted(StartTimeoutMs) || !waitForChild([&] {
            return QFile::exists(socket) || m_daemon.state() == QProcess::NotRunning;
        }) ||
        m_daemon.state() == QProcess::NotRunning) {
        m_problem = QStringLiteral("the private bus did not start");
        return;
    }
    if (!bus().isConnected())
        m_problem = QStringLiteral("cannot connect to the private bus");
}

RealPlayers::~RealPlayers() {
    for (auto& player : m_players) {
        player->terminate();
        if (!player->waitForFinished(5000)) {
            player->kill();
            player->waitForFinished(5000);
        }
    }
    QDBusConnection::disconnectFromBus(m_connectionName);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
}

QDBusConnection RealPlayers::bus() const {
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

QByteArray RealPlayers::sound(const QByteArray& name) {
    QByteArray path = m_folder + '/' + name;
    QFile file(QFile::decodeName(path));
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        file.write(wave(60));
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                            QFile::ReadOther);
    }
    return path;
}

QString RealPlayers::startMpv(const QByteArray& file) {
    if (QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty())
        return QStringLiteral("mpv is not installed");
    if (!QFile::exists(QStringLiteral("/etc/mpv/scripts/mpris.so")) &&
        !QFile::exists(QStringLiteral("/usr/lib/mpv-mpris/mpris.so")))
        return QStringLiteral("mpv-mpris is not installed");
    return startPlayer(QStringLiteral("mpv"),
                       {QStringLiteral("--no-video"), QStringLiteral("--ao=null"),
                        QStringLiteral("--idle=yes"), QStringLiteral("--really-quiet"),
                        QFile::decodeName(file)},
                       QStringLiteral("org.mpris.MediaPlayer2.mpv"), false);
}

QString RealPlayers::startVlc(const QByteArray& file) {
    if (QStandardPaths::findExecutable(QStringLiteral("cvlc")).isEmpty())
        return QStringLiteral("VLC (vlc-bin, vlc-plugin-base) is not installed");
    const bool root = ::geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("setpriv is not installed (VLC refuses root)");
    return startPlayer(QStringLiteral("cvlc"),
                       {QStringLiteral("--no-video"), QStringLiteral("--aout=dummy"),
                        QStringLiteral("--extraintf"), QStringLiteral("dbus"),
                        QFile::decodeName(file)},
                       QStringLiteral("org.mpris.MediaPlayer2.vlc"), root);
}

QString RealPlayers::startPlayer(const QString& program, const QStringList& args,
                                 const QString& busName, bool asNobody) {
    if (!m_problem.isEmpty())
        return m_problem;
    // Its own home, so nothing of the user's player settings is read or written.
    const QString home = m_dir.path() + QStringLiteral("/home-") + program;
    if (!QDir().mkpath(home))
        return QStringLiteral("cannot make the player's home");
    if (asNobody && ::chown(QFile::encodeName(home).constData(), Nobody, Nobody) != 0)
        return QStringLiteral("cannot give the player's home to nobody");
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setChildProcessModifier(endWithTest);
    process->setStandardOutputFile(QProcess::nullDevice());
    if (asNobody)
        process->start(QStringLiteral("setpriv"),
                       QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                   QStringLiteral("--clear-groups"), program} +
                           args);
    else
        process->start(program, args);
    if (!process->waitForStarted(StartTimeoutMs))
        return program + QStringLiteral(" did not start");
    QProcess* started = process.get();
    m_players.push_back(std::move(process));
    QDBusConnection connection = bus();
    if (!waitForChild([&] {
            return connection.interface()->isServiceRegistered(busName).value() ||
                   started->state() == QProcess::NotRunning;
        }) ||
        started->state() == QProcess::NotRunning)
        return program + QStringLiteral(" did not come onto the bus as ") + busName;
    return {};
}

} // namespace lorvane::test
