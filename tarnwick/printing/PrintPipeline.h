#pragma once

#include "printing/DrawPlan.h"

#include <QImage>
#include <QString>

#include <functional>

class Clipboard;
class EventPump;
class MessageBoxes;
class PrintForms;
class PrintSystem;
class ScreenInfo;
class SettingsStore;
struct PrintSettings;

// Everything outside the pipeline that a print touches.
struct PipelineServices {
    SettingsStore& store;
    const ScreenInfo& screen;
    const Clipboard& clipboard;
    PrintSystem& printers;
    MessageBoxes& messages;
    EventPump& events;
    PrintForms& forms;
};

// How a tick ended.
enum class TickResult {
    Idle,      // no key press
    Busy,      // a print is under way; this tick starts nothing
    Disabled,  // printing is switched off: the notice was shown
    NoImage,   // no image on the clipboard
    Cancelled, // the prompt was answered "Cancel" (or closed)
    Printed,
    Failed, // abandoned with a message to the user
};

// Whether the printer named in the settings takes the job (else the system's default).
bool PrinterChoiceEnabled(const PrintSystem& printers);

// The capture-and-print pipeline. Each tick is told whether the print key was pressed
// since the last one and whether printing is enabled; it prints at most once.
// The settings record and PromptChoice are shared with whoever else edits them: the
// pipeline keeps references and reads the record after the prompt, so a change stored
// meanwhile applies.
// A print runs inside the tick; while the prompt waits, events are processed, and
// a tick that arrives then (or during a message box) returns Busy.
class PrintPipeline {
public:
    PrintPipeline(const PipelineServices& services, PrintSettings& settings, qint16& promptChoice);

    TickResult tick(bool keyPressed, bool printingEnabled);

    // The print itself, from reloading the settings to sending the page.
    TickResult printClipboard();

    bool busy() const { return m_busy; }
    // The queue that took the last printed page.
    const QString& lastPrinter() const { return m_lastPrinter; }
    // The image of the last print (the image holder); it stays until the next one.
    const QImage& picture() const { return m_picture; }

    // Told the drawing of each print just before it is made (diagnostics).
    void setPlanObserver(std::function<void(const DrawPlan&, const QSizeF& page)> observer) {
        m_planObserver = std::move(observer);
    }

private:
    TickResult print();
    QString choosePrinter();
    TickResult fail(const QString& text);
    // A message in the middle of a print, with the prompt out of its way.
    void notify(const QString& text);

    PipelineServices m_services;
    PrintSettings& m_settings;
    qint16& m_promptChoice;
    QImage m_picture;
    bool m_busy = false;
    QString m_lastPrinter;
    std::function<void(const DrawPlan&, const QSizeF&)> m_planObserver;
};
