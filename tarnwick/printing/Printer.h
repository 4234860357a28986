#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QtGui/qrgb.h>

#include <memory>

// How the image's pixels reach the page.
enum class RasterOp : quint32 {
    SrcCopy = 0x00CC0020,    // plain copy
    NotSrcCopy = 0x00330008, // every colour inverted
};

// How a queue of the print system stands towards a job.
enum class QueueAnswer {
    Accepting,
    Rejecting, // the queue refuses jobs
    Silent,    // the print system does not answer in time
};

// An installed printer as the system lists it.
struct PrinterIdentity {
    QString deviceName;
    QString driverName;
    QString port;
};

// One print job on one printer. Measures are in twips; the page is the area
// the printer can draw on, (0, 0) at its top-left corner.
class Printer {
public:
    virtual ~Printer() = default;

    virtual PrinterIdentity identity() const = 0;
    virtual double pageWidth() const = 0;
    virtual double pageHeight() const = 0;

    // 1 portrait, 2 landscape; any other value is refused (false).
    virtual bool setOrientation(int orientation) = 0;
    // 1 monochrome, 2 colour; any other value is refused (false).
    virtual bool setColorMode(int colorMode) = 0;
    virtual void setBackColor(QRgb color) = 0;

    // Draws the source rectangle of the image (pixels) into the target rectangle
    // of the page (twips). The first drawing opens the job; false when it cannot.
    virtual bool drawImage(const QImage& image, const QRectF& sourcePixels,
                           const QRectF& targetTwips, RasterOp op) = 0;
    // Sends the job; false when the printer reports an error or the job was not taken.
    virtual bool endDoc() = 0;
    // After a failed endDoc(): whether the queue refused the job or did not answer.
    virtual QueueAnswer jobAnswer() const { return QueueAnswer::Accepting; }
    // Drops a job that was opened and not yet sent.
    virtual void abortDoc() = 0;
};

// The printers of the system and the way to a job on one of them.
class PrintSystem {
public:
    virtual ~PrintSystem() = default;

    // Installed printers in the system's order.
    virtual QList<PrinterIdentity> installedPrinters() const = 0;
    virtual QString defaultPrinterName() const = 0;
    // True when a job can be sent to a named printer without making it the default.
    virtual bool sendsToNamedPrinter() const = 0;
    // False when the print system itself is down, which also leaves no printer listed.
    virtual bool running() const { return true; }
    // Whether the named queue takes jobs now (empty: whether the print system answers at
    // all). Waits for no more than about kAnswerMs, and the program's events go on
    // meanwhile.
    static constexpr int kAnswerMs = 10000;
    virtual QueueAnswer queueAnswer(const QString& deviceName) {
        Q_UNUSED(deviceName);
        return QueueAnswer::Accepting;
    }
    // A job on the named printer, or on the default printer when the name is
    // empty; nothing when there is no such printer.
    virtual std::unique_ptr<Printer> openPrinter(const QString& deviceName) = 0;
};
