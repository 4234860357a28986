#pragma once

#include "platform/KeyTrigger.h"
#include "printing/PrintPipeline.h"

#include "printing/MessageBoxes.h"

#include <functional>
#include <utility>

class PrintForms;
class ScreenCapture;
class SettingsStore;

// A print asked for by command (tarnwick --print) takes the key's way: the enable
// check, the picture put on the clipboard, then the pipeline with its prompt; one page
// per command. The picture is taken at once, as the key takes it at the press.
TickResult PrintByCommand(PrintPipeline& pipeline, ScreenCapture& capture, MessageBoxes& messages,
                          SettingsStore& store, CaptureKind kind, bool printingEnabled);

struct ProgramServices;

// Answers whoever gave a command, once it is done: status 0 when it was, else 1 and
// what went wrong.
using CommandReply = std::function<void(int status, const QString& text)>;

// A print's messages passed on to the user's message boxes, with the last failure kept
// for whoever gave the command (and, when asked, echoed on standard error).
class NotedMessages : public MessageBoxes {
public:
    explicit NotedMessages(MessageBoxes& boxes, bool echo = false) : m_boxes(boxes), m_echo(echo) {}
    void show(const QString& text, MessageIcon icon, const QString& title) override;
    // The last failure since the last call, and none kept.
    QString takeFailure() { return std::exchange(m_failure, QString()); }

private:
    MessageBoxes& m_boxes;
    bool m_echo;
    QString m_failure;
};

// What a print by command tells whoever gave it: empty when the page was printed.
QString CommandOutcome(TickResult result, const QString& failure);

// tarnwick --print with no instance running: one print with the stored settings, and
// the program ends. The exit status: 0 when the page went to the printer, else 1 with
// the reason on standard error (as well as in the message box the print shows).
int PrintOnce(const ProgramServices& services, CaptureKind kind);
