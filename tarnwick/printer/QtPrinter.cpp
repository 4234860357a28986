#include "QtPrinter.h"

#include "platform/CupsClient.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

namespace {

constexpr double kTwipsPerPoint = 20.0;

} // namespace

QtPrinter::QtPrinter(const QPrinterInfo& queue) : m_printer(queue, QPrinter::HighResolution) {
    // Qt may pick A4 where the queue says Letter: take the queue's own size.
    const QPageSize size = queue.defaultPageSize();
    if (size.isValid())
        m_printer.setPageSize(size);
    m_printer.setDocName(QStringLiteral("Tarnwick32"));
    // CUPS has no port; where the queue's printer stands is the nearest it shows.
    m_identity = {queue.printerName(), queue.makeAndModel(), queue.location()};
    // Not named .pdf: the printer keeps the queue's own layout and only writes the file.
    m_jobFile =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tarnwick-XXXXXX.job"));
    if (m_jobFile->open())
        m_printer.setOutputFileName(m_jobFile->fileName());
}

QtPrinter::QtPrinter(const QString& pdfFile, const QPageSize& pageSize) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(pdfFile);
    m_printer.setPageSize(pageSize);
    // A file has no unprintable edge.
    m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    m_printer.setDocName(QStringLiteral("Tarnwick32"));
    m_identity = {pdfFile, QStringLiteral("PDF"), pdfFile};
}

QtPrinter::~QtPrinter() {
    abortDoc();
}

double QtPrinter::pageWidth() const {
    return m_printer.pageLayout().paintRect(QPageLayout::Point).width() * kTwipsPerPoint;
}

double QtPrinter::pageHeight() const {
    return m_printer.pageLayout().paintRect(QPageLayout::Point).height() * kTwipsPerPoint;
}

bool QtPrinter::setOrientation(int orientation) {
    if (m_painter.isActive() || (orientation != 1 && orientation != 2))
        return false;
    m_printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    return true;
}

bool QtPrinter::setColorMode(int colorMode) {
    if (colorMode != 1 && colorMode != 2)
        return false;
    m_printer.setColorMode(colorMode == 1 ? QPrinter::GrayScale : QPrinter::Color);
    return true;
}

bool QtPrinter::drawImage(const QImage& image, const QRectF& sourcePixels,
                          const QRectF& targetTwips, RasterOp op) {
    if (!m_painter.isActive()) {
        if (!m_painter.begin(&m_printer))
            return false;
        const double scale = m_printer.resolution() / 1440.0;
        m_painter.scale(scale, scale);
        m_painter.setBackground(m_backColor);
    }
    if (op == RasterOp::NotSrcCopy) {
        // Neither the PDF engine nor CUPS knows raster operations: invert a copy.
        QImage inverted = image.convertToFormat(QImage::Format_RGB32);
        inverted.invertPixels();
        m_painter.drawImage(targetTwips, inverted, sourcePixels);
    } else {
        m_painter.drawImage(targetTwips, image, sourcePixels);
    }
    return m_printer.printerState() != QPrinter::Error;
}

bool QtPrinter::endDoc() {
    if (!m_painter.isActive())
        return true;
    const bool ended = m_painter.end();
    if (!ended || m_printer.printerState() == QPrinter::Error)
        return false;
    return !m_jobFile || sendJobFile();
}

// The options Qt Print Support itself gives CUPS for such a page.
bool QtPrinter::sendJobFile() {
    QStringList arguments{
        QStringLiteral("-d"), m_identity.deviceName,
        QStringLiteral("-t"), QStringLiteral("Tarnwick32"),
        QStringLiteral("-o"), QStringLiteral("media=") + m_printer.pageLayout().pageSize().key(),
        QStringLiteral("-o"), QStringLiteral("sides=one-sided")};
    if (m_printer.pageLayout().orientation() == QPageLayout::Landscape)
        arguments << QStringLiteral("-o") << QStringLiteral("landscape");
    arguments << QStringLiteral("--") << m_jobFile->fileName();
    const CupsClientRun run =
        RunCupsClient(QStringLiteral("lp"), arguments, PrintSystem::kAnswerMs);
    if (run.started && !run.answered) {
        m_jobAnswer = QueueAnswer::Silent;
        return false;
    }
    if (run.exitCode == 0 && run.out.contains("request id is"))
        return true;
    if (run.err.contains("not accepting"))
        m_jobAnswer = QueueAnswer::Rejecting;
    return false;
}

void QtPrinter::abortDoc() {
    if (!m_painter.isActive())
        return;
    m_printer.abort();
    m_painter.end();
}
