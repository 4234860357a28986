#include "CupsClient.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {

constexpr qint64 kMomentMs = 1000;

// The program's one thread runs the clients, one wait inside another at most.
QElapsedTimer g_waiting;
QDeadlineTimer g_silentUntil;

} // namespace

bool SchedulerInDoubt() {
    return (g_waiting.isValid() && g_waiting.elapsed() > kMomentMs) || !g_silentUntil.hasExpired();
}

CupsClientRun RunCupsClient(const QString& program, const QStringList& arguments, int timeoutMs) {
    CupsClientRun run;
    QProcess client;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    client.setProcessEnvironment(env);
    QEventLoop wait;
    QObject::connect(&client, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&client, &QProcess::errorOccurred, &wait, [&wait](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            wait.quit();
    });
    QTimer::singleShot(timeoutMs, &wait, &QEventLoop::quit);
    client.start(program, arguments);
    run.started =
        client.state() != QProcess::NotRunning || client.error() != QProcess::FailedToStart;
    if (client.state() != QProcess::NotRunning) {
        const bool outer = !g_waiting.isValid();
        if (outer)
            g_waiting.start();
        wait.exec();
        if (outer)
            g_waiting.invalidate();
    }
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished();
        g_silentUntil.setRemainingTime(kDoubtMs);
        return run;
    }
    g_silentUntil = QDeadlineTimer();
    run.answered = run.started;
    run.exitCode = client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    run.out = client.readAllStandardOutput();
    run.err = client.readAllStandardError();
    return run;
}
