#pragma once

#include "platform/Printer.h"

#include <QColor>
#include <QPainter>
#include <QPrinter>

class QPageSize;
class QPrinterInfo;

// One job through Qt Print Support: on a CUPS queue, or into a PDF file.
// Drawing is in twips through a painter scaled from the device's resolution.
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
    void abortDoc() override;

private:
    QPrinter m_printer{QPrinter::HighResolution};
    QPainter m_painter;
    PrinterIdentity m_identity;
    QColor m_backColor = Qt::white;
};
