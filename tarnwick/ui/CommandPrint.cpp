#include "CommandPrint.h"

#include "DisabledNotice.h"
#include "PipelineForms.h"
#include "PrintPrompt.h"
#include "ProgramServices.h"

#include "platform/MessageBoxes.h"
#include "platform/ScreenCapture.h"
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

namespace {

// The print's messages, also on standard error for whoever started the command.
class EchoedMessages : public MessageBoxes {
public:
    explicit EchoedMessages(MessageBoxes& boxes) : m_boxes(boxes) {}
    void show(const QString& text, MessageIcon icon, const QString& title) override {
        std::fprintf(stderr, "tarnwick: %s\n", qPrintable(text));
        if (icon == MessageIcon::Exclamation)
            m_failed = true;
        m_boxes.show(text, icon, title);
    }
    bool failed() const { return m_failed; }

private:
    MessageBoxes& m_boxes;
    bool m_failed = false;
};

} // namespace

int PrintOnce(const ProgramServices& services, const QString& osKind, CaptureKind kind) {
    EchoedMessages messages(services.messages);
    PipelineForms forms;
    SharedValues shared;
    shared.osKind = osKind;
    PrintPipeline pipeline({services.store, services.screen, services.clipboard, services.printers,
                            messages, services.events, forms},
                           shared.settings, shared.osKind, shared.promptChoice);
    const TickResult result =
        PrintByCommand(pipeline, services.capture, messages, services.store, kind, true);
    if (result == TickResult::Printed)
        return 0;
    if (!messages.failed()) {
        std::fputs(result == TickResult::Cancelled
                       ? "tarnwick: The print was cancelled. Nothing was printed.\n"
                       : "tarnwick: There was no picture to print. Nothing was printed.\n",
                   stderr);
    }
    return 1;
}
