#include "FakePrintSystem.h"

FakePrinter::FakePrinter(FakePrintSystem& system, const PrinterIdentity& identity)
    : m_system(system), m_identity(identity), m_jobIndex(system.jobs.size()) {
    system.jobs.append(RecordedJob{identity.deviceName, {}, {}, {}, {}, false, false});
}

RecordedJob& FakePrinter::job() {
    return m_system.jobs[m_jobIndex];
}

double FakePrinter::pageWidth() const {
    return m_orientation == 2 ? m_system.portraitPage.height() : m_system.portraitPage.width();
}

double FakePrinter::pageHeight() const {
    return m_orientation == 2 ? m_system.portraitPage.width() : m_system.portraitPage.height();
}

bool FakePrinter::setOrientation(int orientation) {
    job().orientations.append(orientation);
    if (orientation != 1 && orientation != 2)
        return false;
    m_orientation = orientation;
    return true;
}

bool FakePrinter::setColorMode(int colorMode) {
    job().colorModes.append(colorMode);
    return colorMode == 1 || colorMode == 2;
}

void FakePrinter::setBackColor(QRgb color) {
    job().backColors.append(color);
}

bool FakePrinter::drawImage(const QImage& image, const QRectF& sourcePixels,
                            const QRectF& targetTwips, RasterOp op) {
    if (m_system.failDraw)
        return false;
    job().draws.append({sourcePixels, targetTwips, op, image.size()});
    return true;
}

bool FakePrinter::endDoc() {
    if (m_system.failEnd)
        return false;
    job().ended = true;
    return true;
}

QueueAnswer FakePrinter::jobAnswer() const {
    return m_system.endAnswer;
}

void FakePrinter::abortDoc() {
    job().aborted = true;
}

std::unique_ptr<Printer> FakePrintSystem::openPrinter(const QString& deviceName) {
    opened.append(deviceName);
    if (!schedulerRunning)
        return nullptr;
    const QString name = deviceName.isEmpty() ? defaultName : deviceName;
    for (const PrinterIdentity& printer : printers) {
        if (printer.deviceName == name)
            return std::make_unique<FakePrinter>(*this, printer);
    }
    return nullptr;
}
