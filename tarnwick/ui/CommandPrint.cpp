#include "CommandPrint.h"

#include "DisabledNotice.h"
#include "PipelineForms.h"
#include "PrintPrompt.h"
#include "ProgramServices.h"

#include "platform/ScreenCapture.h"
#include "printing/MessageBoxes.h"
#include "printing/Notices.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

TickResult PrintByCommand(PrintPipeline& pipeline, ScreenCapture& capture, MessageBoxes& messages,
                          SettingsStore& store, CaptureKind kind, bool printingEnabled) {
    if (pipeline.busy())
        return TickResult::Busy;
    if (!printingEnabled)
        return pipeline.tick(true, false);
    const QImage image = capture.capture(kind);
    const QString title = QStringLiteral("Tarnwick32");
    if (image.isNull()) {
        // What the clipboard holds from before is not this screen: nothing is printed.
        const QString reason = capture.failure().isEmpty()
                                   ? QStringLiteral("The screen could not be captured.")
                                   : capture.failure();
        messages.show(reason + QStringLiteral(" Nothing was printed."), MessageIcon::Exclamation,
                      title);
        return TickResult::Failed;
    }
    if (!capture.note().isEmpty() && NoticeDue(store, kWindowFallbackNotice))
        messages.show(capture.note(), MessageIcon::Information, title);
    QGuiApplication::clipboard()->setImage(image);
    return pipeline.tick(true, true);
}

void NotedMessages::show(const QString& text, MessageIcon icon, const QString& title) {
    if (m_echo)
        std::fprintf(stderr, "tarnwick: %s\n", qPrintable(text));
    if (icon == MessageIcon::Exclamation)
        m_failure = text;
    m_boxes.show(text, icon, title);
}

QString CommandOutcome(TickResult result, const QString& failure) {
    switch (result) {
    case TickResult::Printed:
        return {};
    case TickResult::Cancelled:
        return QStringLiteral("The print was cancelled. Nothing was printed.");
    case TickResult::Disabled:
        return QStringLiteral("Printing is switched off in the tray menu. Nothing was printed.");
    case TickResult::NoImage:
        return QStringLiteral("There was no picture to print. Nothing was printed.");
    case TickResult::Idle:
    case TickResult::Busy:
    case TickResult::Failed:
        break;
    }
    return failure.isEmpty() ? QStringLiteral("Nothing was printed.") : failure;
}

int PrintOnce(const ProgramServices& services, CaptureKind kind) {
    NotedMessages messages(services.messages, true);
    PipelineForms forms;
    SharedValues shared;
    PrintPipeline pipeline({services.store, services.screen, services.clipboard, services.printers,
                            messages, services.events, forms},
                           shared.settings, shared.promptChoice);
    const TickResult result =
        PrintByCommand(pipeline, services.capture, messages, services.store, kind, true);
    if (result == TickResult::Printed)
        return 0;
    // A failure was on standard error already, with its box.
    const QString failure = messages.takeFailure();
    if (failure.isEmpty())
        std::fprintf(stderr, "tarnwick: %s\n", qPrintable(CommandOutcome(result, failure)));
    return 1;
}
