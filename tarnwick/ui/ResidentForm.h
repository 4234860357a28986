// ResidentForm.h: Twk02, the resident form behind the tray icon.
#pragma once

#include "CommandPrint.h"
#include "PipelineForms.h"
#include "ProgramServices.h"
#include "platform/KeyTrigger.h"
#include "printing/PrintPipeline.h"

// PipelineForms' inline accessors need the two forms complete.
#include "DisabledNotice.h"
#include "PrintPrompt.h"

#include <QMainWindow>
#include <QPointer>
#include <QQueue>
#include <QTimer>

#include <memory>

namespace Ui {
class Twk02;
}

class TrayIcon;
class Twk07;

// The resident form: never seen, it owns the tray icon with its menu and the
// one-second timer whose tick looks at the Print Screen latch and runs the print.
// A single window: it frees itself when closed, and the tray icon goes with it.
class Twk02 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kTickMs = 1000;

    Twk02(const ProgramServices& services, SharedValues& shared, QWidget* parent = nullptr);
    ~Twk02() override;

    bool printingEnabled() const;
    QMenu* optionsMenu() const;
    TickResult lastTick() const { return m_lastTick; }
    PipelineForms& forms() { return m_forms; }
    TrayIcon* trayIcon() const { return m_tray; }

signals:
    // "&Configure" or a double click on the tray icon.
    void configureRequested();
    // "C&lose": the program's shutdown.
    void closeRequested();

public slots:
    void Timer1_Timer();
    // tarnwick --print or --print-window: one page, through the key's pipeline; whoever
    // gave the command is answered when its page is printed or given up.
    void printByCommand(CaptureKind kind, const CommandReply& reply = {});
    void m_help_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Counts handlers that run their own event processing (the prompt wait, the help
    // window); the form must not go away under them.
    struct Nested {
        explicit Nested(Twk02* form) : m_form(form) { ++m_form->m_nested; }
        ~Nested();
        Twk02* m_form;
    };

    // Prints the commands waiting, unless a print is already under way (its end
    // comes back here through the tick).
    void runCommands();
    void showPrinted();

    std::unique_ptr<Ui::Twk02> m_ui;
    ProgramServices m_services;
    // The pipeline's messages: a command's failure goes back to whoever gave it.
    NotedMessages m_messages;
    PipelineForms m_forms;
    PrintPipeline m_pipeline;
    QTimer m_timer1;
    TrayIcon* m_tray = nullptr;
    QPointer<Twk07> m_help;
    TickResult m_lastTick = TickResult::Idle;
    int m_nested = 0;
    QQueue<std::pair<CaptureKind, CommandReply>> m_commands;
    bool m_runningCommands = false;
    bool m_closePending = false;
};
