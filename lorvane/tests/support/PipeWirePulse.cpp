#include "support/PipeWirePulse.h"

#include "support/ChildProcess.h"
#include "support/Pactl.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lorvane::test {

namespace {

constexpr int StartTimeoutMs = 20000;

} // namespace

PipeWirePulse::PipeWirePulse() {
    for (const char* program : {"pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty()) {
            m_problem = QStringLiteral("%1 is not installed").arg(QLatin1String(program));
            return;
        }
    }
    if (!m_dir.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return;
    }
    const QString runtime = m_dir.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QDir().mkpath(m_dir.path() + QStringLiteral("/home"));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString bus = QStringLiteral("unix:path=") + m_dir.path() + QStringLiteral("/bus");
    if (!start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--address=") + bus}) ||
        !waitForChild([&] { return QFile::exists(m_dir.path() + QStringLiteral("/bus")); })) {
        m_problem = QStringLiteral("the session bus for WirePlumber did not start");
        return;
    }
    const QString socket = runtime + QStringLiteral("/pulse/native");
    if (!start(QStringLiteral("pipewire"), {}) ||
        !waitForChild([&] { return QFile::exists(runtime + QStringLiteral("/pipewire-0")); }) ||
        !start(QStringLiteral("wireplumber"), {}) || !start(QStringLiteral("pipewire-pulse"), {}) ||
        !waitForChild([&] { return QFile::exists(socket); })) {
        m_problem = QStringLiteral("PipeWire's PulseAudio service did not start");
        return;
    }
    m_hadServer = qEnvironmentVariableIsSet("PULSE_SERVER");
    m_oldServer = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + socket));
    // The session manager takes a moment before it lets a default be chosen.
    if (!pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                QStringLiteral("sink_name=lorvane_test")}) ||
        !waitForChild([] {
            return pactl({QStringLiteral("set-default-sink"), QStringLiteral("lorvane_test")})
                       .has_value() &&
                   defaultSinkVolume().has_value();
        }))
        m_problem = QStringLiteral("PipeWire's PulseAudio service has no output");
}

PipeWirePulse::~PipeWirePulse() {
    if (m_hadServer)
        qputenv("PULSE_SERVER", m_oldServer);
    else
        qunsetenv("PULSE_SERVER");
    // The servers go in the opposite order of their start, the bus last.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        (*it)->terminate();
        if (!(*it)->waitForFinished(5000)) {
            (*it)->kill();
            (*it)->waitForFinished(5000);
        }
    }
}

bool PipeWirePulse::start(const QString& program, const QStringList& args) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path() + QStringLiteral("/home/.config"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), m_dir.path() + QStringLiteral("/home/.state"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + m_dir.path() + QStringLiteral("/bus"));
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DISPLAY"));
    process->setProcessEnvironment(env);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setChildProcessModifier(endWithTest);
    process->setStandardErrorFile(m_dir.path() + QStringLiteral("/") + program +
                                  QStringLiteral(".log"));
    process->start(program, args);
    const bool started = process->waitForStarted(StartTimeoutMs);
    m_processes.push_back(std::move(process));
    return started;
}

} // namespace lorvane::test
