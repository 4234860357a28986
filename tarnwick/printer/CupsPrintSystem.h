#pragma once

#include "printing/Printer.h"

// The system's printers through Qt Print Support, which speaks to CUPS: every
// job names its queue, so a chosen printer is reached without touching the default.
class CupsPrintSystem : public PrintSystem {
public:
    QList<PrinterIdentity> installedPrinters() const override;
    QString defaultPrinterName() const override;
    bool sendsToNamedPrinter() const override { return true; }
    // Asks the system's own client (lpstat), which finds the scheduler the way every
    // CUPS program does. Without the client nothing can be told: taken as running.
    bool running() const override;
    // Asks lpstat, which reads the queue's state from the scheduler.
    QueueAnswer queueAnswer(const QString& deviceName) override;
    std::unique_ptr<Printer> openPrinter(const QString& deviceName) override;
};
