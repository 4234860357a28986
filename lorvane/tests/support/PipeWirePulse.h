// PipeWirePulse.h: PipeWirePulse, PipeWire with its PulseAudio service and a silent output,
// private to one test.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace lorvane::test {

// PipeWire, WirePlumber (which needs a session bus: one of its own) and pipewire-pulse in
// a folder of their own, with a silent output as the default; stopped by their process
// ids. While it lives, PULSE_SERVER points at it.
class PipeWirePulse {
public:
    PipeWirePulse();
    ~PipeWirePulse();
    PipeWirePulse(const PipeWirePulse&) = delete;
    PipeWirePulse& operator=(const PipeWirePulse&) = delete;

    // Empty when the server runs; otherwise what is missing, for the skip message.
    QString problem() const { return m_problem; }

private:
    bool start(const QString& program, const QStringList& args);

    QTemporaryDir m_dir;
    QString m_problem;
    QByteArray m_oldServer;
    bool m_hadServer = false;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

} // namespace lorvane::test
