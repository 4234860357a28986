#pragma once

#include "platform/KeyTrigger.h"
#include "printing/PrintPipeline.h"

class MessageBoxes;
class PrintForms;
class ScreenCapture;
class SettingsStore;

// A print asked for by command (tarnwick --print) takes the key's way: the enable
// check, the picture put on the clipboard, then the pipeline with its prompt; one page
// per command. The picture is taken at once, as the key takes it at the press.
TickResult PrintByCommand(PrintPipeline& pipeline, ScreenCapture& capture, MessageBoxes& messages,
                          SettingsStore& store, CaptureKind kind, bool printingEnabled);

struct ProgramServices;

// tarnwick --print with no instance running: one print with the stored settings, and
// the program ends. The exit status: 0 when the page went to the printer, else 1 with
// the reason on standard error (as well as in the message box the print shows).
int PrintOnce(const ProgramServices& services, const QString& osKind, CaptureKind kind);
