#pragma once

#include "platform/Printer.h"

// The system's printers through Qt Print Support, which speaks to CUPS: every
// job names its queue, so a chosen printer is reached without touching the default.
class CupsPrintSystem : public PrintSystem {
public:
    QList<PrinterIdentity> installedPrinters() const override;
    QString defaultPrinterName() const override;
    bool sendsToNamedPrinter() const override { return true; }
    std::unique_ptr<Printer> openPrinter(const QString& deviceName) override;
};
