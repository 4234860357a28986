#pragma once

#include "printing/Printer.h"

#include <QColor>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <memory>

class QPageSize;
class QPrinterInfo;

// One job through Qt Print Support: on a CUPS queue, or into a PDF file.
// Drawing is in twips through a painter scaled from the device's resolution.
// A queue's page goes into a file laid out for that queue first, and the file to the
// queue through lp: its answer says whether the job was taken, and a scheduler that
// does not answer holds up the program for no longer than PrintSystem::kAnswerMs.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(const QPrinterInfo& queue);
    QtPrinter(const QString& pdfFile, const QPageSize& pageSize);
    ~QtPrinter() override;

    PrinterIdentity identity() const override { return m_identity; }
    double pageWidth() const override;
    double pageHeight() const override;
    bool setOrientation(int orientation) override;
    bool setColorMode(int colorMode) override;
    void setBackColor(QRgb color) override { m_backColor = QColor::fromRgb(color); }
    bool drawImage(const QImage& image, const QRectF& sourcePixels, const QRectF& targetTwips,
                   RasterOp op) override;
    bool endDoc() override;
    QueueAnswer jobAnswer() const override { return m_jobAnswer; }
    void abortDoc() override;

private:
    QPrinter m_printer{QPrinter::HighResolution};
    QPainter m_painter;
    PrinterIdentity m_identity;
    QColor m_backColor = Qt::white;
    // The queue's job file, for a queue; none for a PDF file.
    std::unique_ptr<QTemporaryFile> m_jobFile;
    QueueAnswer m_jobAnswer = QueueAnswer::Accepting;

    bool sendJobFile();
};
