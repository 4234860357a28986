#include "CupsClient.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

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
    if (client.state() != QProcess::NotRunning)
        wait.exec();
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished();
        return run;
    }
    run.answered = run.started;
    run.exitCode = client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    run.out = client.readAllStandardOutput();
    run.err = client.readAllStandardError();
    return run;
}
