#include "PrintPipeline.h"

#include "printing/Clipboard.h"
#include "printing/EventPump.h"
#include "printing/MessageBoxes.h"
#include "printing/PrintForms.h"
#include "printing/PrintSettings.h"
#include "printing/Printer.h"
#include "printing/ScreenInfo.h"

namespace {

const QString kTitle = QStringLiteral("Tarnwick32");
const QString kNothingPrinted = QStringLiteral(" Nothing was printed.");
const QString kNoAnswer = QStringLiteral("The print system does not answer.");

QString refusal(QueueAnswer answer, const QString& queue) {
    return (answer == QueueAnswer::Silent
                ? kNoAnswer
                : QStringLiteral("The printer %1 is not accepting jobs.").arg(queue)) +
           kNothingPrinted;
}

// Clears the busy mark however the print ends.
struct BusyMark {
    explicit BusyMark(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyMark() { m_busy = false; }
    bool& m_busy;
};

} // namespace

PrintPipeline::PrintPipeline(const PipelineServices& services, PrintSettings& settings,
                             qint16& promptChoice)
    : m_services(services), m_settings(settings), m_promptChoice(promptChoice) {}

TickResult PrintPipeline::tick(bool keyPressed, bool printingEnabled) {
    if (m_busy)
        return TickResult::Busy;
    if (!keyPressed)
        return TickResult::Idle;
    if (!printingEnabled) {
        m_services.forms.showDisabledNotice();
        return TickResult::Disabled;
    }
    return printClipboard();
}

TickResult PrintPipeline::printClipboard() {
    if (m_busy)
        return TickResult::Busy;
    BusyMark mark(m_busy);
    return print();
}

TickResult PrintPipeline::print() {
    LoadPrintSettings(m_settings, m_services.store, m_services.screen);

    if (!m_services.clipboard.hasImage())
        return TickResult::NoImage;
    m_picture = m_services.clipboard.image();
    if (m_picture.isNull())
        return fail(QStringLiteral("The image on the clipboard is empty.") + kNothingPrinted);

    m_promptChoice = -1;
    m_services.forms.openPrompt(m_settings, m_promptChoice);
    if (m_settings.PrintPrompt != 0) {
        while (m_promptChoice == -1 && m_services.forms.promptOpen())
            m_services.events.waitAndProcess();
        // A prompt closed without an answer (window manager, program end) is a cancel.
        if (m_promptChoice == 2 || m_promptChoice == -1) {
            m_services.forms.closePrompt();
            return TickResult::Cancelled;
        }
    }

    // A scheduler that is stopped but still holds its socket takes the connection and
    // never answers: the listing below would wait for it for a long time.
    if (m_services.printers.queueAnswer(QString()) == QueueAnswer::Silent)
        return fail(kNoAnswer + kNothingPrinted);
    const QString target = choosePrinter();
    std::unique_ptr<Printer> printer = m_services.printers.openPrinter(target);
    if (!printer) {
        // A stopped scheduler lists no printers either; saying none is installed would
        // send the user looking for the wrong fault.
        return fail((m_services.printers.running()
                         ? QStringLiteral("No printer is installed.")
                         : QStringLiteral("The print system is not running.")) +
                    kNothingPrinted);
    }
    const QString queue = printer->identity().deviceName;
    if (const QueueAnswer answer = m_services.printers.queueAnswer(queue);
        answer != QueueAnswer::Accepting)
        return fail(refusal(answer, queue));
    m_services.forms.showProgress(queue);

    if (!printer->setOrientation(m_settings.PrintOrientation))
        return fail(QStringLiteral("The page orientation %1 is not valid.")
                        .arg(m_settings.PrintOrientation) +
                    kNothingPrinted);
    // White, as the page is; nothing draws with it.
    printer->setBackColor(0x00FFFFFF);
    printer->setColorMode(m_settings.GreyScale != 0 ? 1 : 2);
    const RasterOp op = m_settings.PrintNegative != 0 ? RasterOp::NotSrcCopy : RasterOp::SrcCopy;

    DrawMeasures measures;
    measures.twipsPerPixelX = m_services.screen.twipsPerPixelX();
    measures.twipsPerPixelY = m_services.screen.twipsPerPixelY();
    measures.page = QSizeF(printer->pageWidth(), printer->pageHeight());
    measures.image = QSizeF(m_picture.width() * measures.twipsPerPixelX,
                            m_picture.height() * measures.twipsPerPixelY);
    const DrawPlan plan = PlanDrawing(m_settings, m_promptChoice, measures);
    switch (plan.problem) {
    case DrawProblem::None:
        break;
    case DrawProblem::EmptyArea:
        return fail(QStringLiteral("The defined print area has no width or height.") +
                    kNothingPrinted);
    case DrawProblem::AreaOffImage:
        return fail(QStringLiteral("The defined print area (X %1, Y %2, width %3, height %4) "
                                   "lies outside the captured picture of %5 x %6 pixels.")
                        .arg(m_settings.X_Coord)
                        .arg(m_settings.Y_Coord)
                        .arg(m_settings.W_Coord)
                        .arg(m_settings.H_Coord)
                        .arg(m_picture.width())
                        .arg(m_picture.height()) +
                    kNothingPrinted);
    case DrawProblem::BadScale:
        return fail(QStringLiteral("The scale %1 x %2 is not one the picture can be printed at.")
                        .arg(QString::number(m_settings.ScaleFactorX, 'g', 15),
                             QString::number(m_settings.ScaleFactorY, 'g', 15)) +
                    kNothingPrinted);
    case DrawProblem::EmptyImage:
        return fail(QStringLiteral("The image on the clipboard is empty.") + kNothingPrinted);
    case DrawProblem::EmptyPage:
        return fail(QStringLiteral("The printer reports a page without size.") + kNothingPrinted);
    case DrawProblem::TooLarge:
        return fail(QStringLiteral("The scale %1 x %2 makes the picture too large to print.")
                        .arg(QString::number(m_settings.ScaleFactorX, 'g', 15),
                             QString::number(m_settings.ScaleFactorY, 'g', 15)) +
                    kNothingPrinted);
    }
    if (m_planObserver)
        m_planObserver(plan, measures.page);

    if (!printer->drawImage(m_picture, plan.sourcePixels, plan.target, op)) {
        printer->abortDoc();
        return fail(QStringLiteral("The printer could not take the page.") + kNothingPrinted);
    }
    if (!printer->endDoc()) {
        const QueueAnswer answer = printer->jobAnswer();
        return fail(answer == QueueAnswer::Accepting
                        ? QStringLiteral("The printer reported an error while printing.")
                        : refusal(answer, queue));
    }
    m_services.forms.closePrompt();
    m_lastPrinter = printer->identity().deviceName;
    return TickResult::Printed;
}

bool PrinterChoiceEnabled(const PrintSystem& printers) {
    // The one Windows system that let a job choose its printer (NT 4.0) is never the
    // system here; where each job can name its printer (CUPS), the choice needs no
    // system switch.
    return printers.sendsToNamedPrinter();
}

// The printer this job goes to: empty for the system's default printer. A chosen
// printer takes this one job; the system's default stays as it is.
QString PrintPipeline::choosePrinter() {
    if (!PrinterChoiceEnabled(m_services.printers))
        return {};
    const QString& wanted = m_settings.PrintDevice;
    if (IsDefaultPrinterName(wanted) || wanted == m_services.printers.defaultPrinterName())
        return {};
    for (const PrinterIdentity& printer : m_services.printers.installedPrinters()) {
        if (printer.deviceName == wanted)
            return printer.deviceName;
    }
    // With the print system down the printer is not gone; opening fails and says why.
    if (!m_services.printers.running())
        return {};
    notify(QStringLiteral("Printer ") + wanted +
           QStringLiteral("No Longer Exists. Using System Default Printer."));
    return {};
}

TickResult PrintPipeline::fail(const QString& text) {
    m_services.forms.closePrompt();
    m_services.messages.show(text, MessageIcon::Exclamation, kTitle);
    return TickResult::Failed;
}

void PrintPipeline::notify(const QString& text) {
    m_services.forms.setPromptHidden(true);
    m_services.messages.show(text, MessageIcon::Exclamation, kTitle);
    m_services.forms.setPromptHidden(false);
}
