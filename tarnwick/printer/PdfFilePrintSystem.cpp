#include "PdfFilePrintSystem.h"

#include "printer/QtPrinter.h"

std::unique_ptr<Printer> PdfFilePrintSystem::openPrinter(const QString& deviceName) {
    if (!deviceName.isEmpty() && deviceName != m_pdfFile)
        return nullptr;
    return std::make_unique<QtPrinter>(m_pdfFile, m_pageSize);
}
