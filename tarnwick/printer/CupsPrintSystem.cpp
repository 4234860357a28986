#include "CupsPrintSystem.h"

#include "platform/CupsClient.h"
#include "printer/QtPrinter.h"

#include <QPrinterInfo>

// While the scheduler is in doubt nothing is listed, as when it is not running: asked
// through the toolkit, it would hold up the program for half a minute or more.
QList<PrinterIdentity> CupsPrintSystem::installedPrinters() const {
    QList<PrinterIdentity> printers;
    if (SchedulerInDoubt())
        return printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        printers.append({info.printerName(), info.makeAndModel(), info.location()});
    return printers;
}

QString CupsPrintSystem::defaultPrinterName() const {
    if (SchedulerInDoubt())
        return {};
    QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty())
        return name;
    const QStringList names = QPrinterInfo::availablePrinterNames();
    return names.isEmpty() ? QString() : names.first();
}

std::unique_ptr<Printer> CupsPrintSystem::openPrinter(const QString& deviceName) {
    // A CUPS server may have queues but no default: then the first queue serves.
    const QString name = deviceName.isEmpty() ? defaultPrinterName() : deviceName;
    if (name.isEmpty() || SchedulerInDoubt())
        return nullptr;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    return std::make_unique<QtPrinter>(info);
}

bool CupsPrintSystem::running() const {
    // Only a clear "not running" counts: a client that is missing, crashes or gets no
    // answer in time says nothing about the scheduler.
    const CupsClientRun run = RunCupsClient(QStringLiteral("lpstat"), {QStringLiteral("-r")}, 5000);
    if (!run.answered || run.exitCode < 0)
        return true;
    return run.out.trimmed() != "scheduler is not running";
}

QueueAnswer CupsPrintSystem::queueAnswer(const QString& deviceName) {
    QStringList arguments{QStringLiteral("-a")};
    if (!deviceName.isEmpty())
        arguments.append(deviceName);
    const CupsClientRun run = RunCupsClient(QStringLiteral("lpstat"), arguments, kAnswerMs);
    if (run.started && !run.answered)
        return QueueAnswer::Silent;
    // Whatever else lpstat says (no such queue, no scheduler) the print itself finds
    // out and tells more precisely.
    const QByteArray refusing = deviceName.toUtf8() + " not accepting";
    for (const QByteArray& line : run.out.split('\n')) {
        if (!deviceName.isEmpty() && line.startsWith(refusing))
            return QueueAnswer::Rejecting;
    }
    return QueueAnswer::Accepting;
}
