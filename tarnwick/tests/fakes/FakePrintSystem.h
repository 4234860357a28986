// FakePrintSystem.h: FakePrintSystem and FakePrinter, printers that record each job.
#pragma once

#include "printing/Printer.h"

#include <QMap>
#include <QSizeF>
#include <QStringList>

// One drawing as the printer was asked to make it.
struct RecordedDraw {
    QRectF sourcePixels;
    QRectF target;
    RasterOp op;
    QSize imageSize;
};

// What one job on a recording printer saw.
struct RecordedJob {
    QString deviceName;
    QList<int> orientations;
    QList<int> colorModes;
    QList<QRgb> backColors;
    QList<RecordedDraw> draws;
    bool ended = false;
    bool aborted = false;
};

class FakePrintSystem;

class FakePrinter : public Printer {
public:
    FakePrinter(FakePrintSystem& system, const PrinterIdentity& identity);

    PrinterIdentity identity() const override { return m_identity; }
    double pageWidth() const override;
    double pageHeight() const override;
    bool setOrientation(int orientation) override;
    bool setColorMode(int colorMode) override;
    void setBackColor(QRgb color) override;
    bool drawImage(const QImage& image, const QRectF& sourcePixels, const QRectF& targetTwips,
                   RasterOp op) override;
    bool endDoc() override;
    QueueAnswer jobAnswer() const override;
    void abortDoc() override;

private:
    RecordedJob& job();

    FakePrintSystem& m_system;
    PrinterIdentity m_identity;
    qsizetype m_jobIndex;
    int m_orientation = 1;
};

// Printers with a fixed portrait page; landscape turns it.
class FakePrintSystem : public PrintSystem {
public:
    QList<PrinterIdentity> installedPrinters() const override {
        return schedulerRunning ? printers : QList<PrinterIdentity>();
    }
    QString defaultPrinterName() const override {
        return schedulerRunning ? defaultName : QString();
    }
    bool sendsToNamedPrinter() const override { return namedJobs; }
    bool running() const override { return schedulerRunning; }
    std::unique_ptr<Printer> openPrinter(const QString& deviceName) override;
    QueueAnswer queueAnswer(const QString& deviceName) override {
        asked.append(deviceName);
        return answers.value(deviceName, QueueAnswer::Accepting);
    }

    QList<PrinterIdentity> printers = {{QStringLiteral("Office"), QStringLiteral("PDF"), {}},
                                       {QStringLiteral("Colour"), QStringLiteral("PDF"), {}}};
    QString defaultName = QStringLiteral("Office");
    bool namedJobs = true;
    // A stopped print system: no printers, and running() says why.
    bool schedulerRunning = true;
    QSizeF portraitPage = QSizeF(11000, 15000);
    bool failDraw = false;
    bool failEnd = false;
    // How queues (by name; empty: the print system) answer, and how a job that failed
    // at its end was answered.
    QMap<QString, QueueAnswer> answers;
    QueueAnswer endAnswer = QueueAnswer::Accepting;
    QStringList asked;

    QStringList opened; // the names asked for, empty = default
    QList<RecordedJob> jobs;
};
