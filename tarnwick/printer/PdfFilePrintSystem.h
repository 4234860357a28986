#pragma once

#include "printing/Printer.h"

#include <QPageSize>

// A PDF file standing for the printer: the only "installed" printer and the default.
class PdfFilePrintSystem : public PrintSystem {
public:
    PdfFilePrintSystem(const QString& pdfFile, const QPageSize& pageSize)
        : m_pdfFile(pdfFile), m_pageSize(pageSize) {}

    QList<PrinterIdentity> installedPrinters() const override { return {}; }
    QString defaultPrinterName() const override { return m_pdfFile; }
    bool sendsToNamedPrinter() const override { return false; }
    std::unique_ptr<Printer> openPrinter(const QString& deviceName) override;

private:
    QString m_pdfFile;
    QPageSize m_pageSize;
};
