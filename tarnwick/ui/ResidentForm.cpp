#include "ResidentForm.h"
#include "ui_ResidentForm.h"

#include "CommandPrint.h"
#include "FormPlacement.h"
#include "HelpWindow.h"
#include "ProgramIcon.h"
#include "TrayIcon.h"
#include "platform/KeyTrigger.h"

#include <QCloseEvent>
#include <QTimer>

Twk02::Twk02(const ProgramServices& services, SharedValues& shared, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::Twk02>()), m_services(services),
      m_messages(services.messages),
      m_pipeline(PipelineServices{services.store, services.screen, services.clipboard,
                                  services.printers, m_messages, services.events, m_forms},
                 shared.settings, shared.promptChoice) {
    m_ui->setupUi(this);
    setWindowIcon(ProgramIcon());
    // The separator keeps its design name too.
    for (QAction* action : m_ui->m_options->actions()) {
        if (action->isSeparator())
            action->setObjectName(QStringLiteral("m_option2"));
    }

    // m_enable reverses its own check mark; the tick reads it.
    connect(m_ui->m_configure, &QAction::triggered, this, &Twk02::configureRequested);
    connect(m_ui->m_help, &QAction::triggered, this, &Twk02::m_help_Click);
    connect(m_ui->m_close, &QAction::triggered, this, &Twk02::closeRequested);
    connect(&m_timer1, &QTimer::timeout, this, &Twk02::Timer1_Timer);

    m_tray = new TrayIcon(m_ui->m_options, this);
    connect(m_tray, &TrayIcon::doubleClicked, this, &Twk02::configureRequested);
    m_timer1.start(kTickMs);
}

Twk02::~Twk02() {
    // The icon leaves the tray before anything else of the form goes.
    delete m_tray;
    for (const auto& [kind, reply] : std::as_const(m_commands)) {
        if (reply)
            reply(1, QStringLiteral("Tarnwick32 ended first. Nothing was printed."));
    }
}

bool Twk02::printingEnabled() const {
    return m_ui->m_enable->isChecked();
}

QMenu* Twk02::optionsMenu() const {
    return m_ui->m_options;
}

Twk02::Nested::~Nested() {
    if (--m_form->m_nested == 0 && m_form->m_closePending) {
        m_form->m_closePending = false;
        m_form->close();
    }
}

void Twk02::Timer1_Timer() {
    // While a print waits for its prompt this tick comes again through the event
    // processing; the press stays latched for a tick that can print it.
    if (m_pipeline.busy() || m_closePending || m_runningCommands)
        return;
    runCommands();
    // Only a new press prints: a key held down past the tick is the same press, one
    // page, however long it is held.
    const bool pressed = (m_services.trigger.keyState() & KeyTrigger::PressedSinceLastQuery) != 0;
    if (!pressed) {
        m_lastTick = TickResult::Idle;
        return;
    }
    Nested nested(this);
    m_lastTick = m_pipeline.tick(pressed, printingEnabled());
    // Presses made while a failure message was up would only bring the same message
    // back once it is closed: they are dropped.
    if (m_lastTick == TickResult::Failed)
        m_services.trigger.keyState();
    if (m_lastTick == TickResult::Printed)
        showPrinted();
}

void Twk02::printByCommand(CaptureKind kind, const CommandReply& reply) {
    m_commands.enqueue({kind, reply});
    runCommands();
}

void Twk02::runCommands() {
    if (m_runningCommands || m_pipeline.busy() || m_closePending || m_commands.isEmpty())
        return;
    Nested nested(this);
    m_runningCommands = true;
    while (!m_commands.isEmpty() && !m_closePending) {
        const auto [kind, reply] = m_commands.dequeue();
        m_messages.takeFailure();
        m_lastTick = PrintByCommand(m_pipeline, m_services.capture, m_messages, m_services.store,
                                    kind, printingEnabled());
        if (m_lastTick == TickResult::Printed)
            showPrinted();
        if (reply) {
            reply(m_lastTick == TickResult::Printed ? 0 : 1,
                  CommandOutcome(m_lastTick, m_messages.takeFailure()));
        }
    }
    m_runningCommands = false;
}

void Twk02::showPrinted() {
    m_ui->Picture1->setPixmap(QPixmap::fromImage(m_pipeline.picture()));
    m_ui->Picture1->resize(m_pipeline.picture().size());
    // The progress notice is up only while the job is prepared; this says that the
    // page is on its way.
    const QString& queue = m_pipeline.lastPrinter();
    m_tray->showMessage(queue.isEmpty() ? QStringLiteral("Printed to the default printer")
                                        : QStringLiteral("Printed to ") + queue);
}

void Twk02::m_help_Click() {
    if (m_help) {
        BringForward(m_help);
        return;
    }
    Nested nested(this);
    Twk07 help;
    // Its own loop, but nothing blocked: the tray menu stays usable, so "Help" brings
    // it forward and "Close" ends the program while it is open.
    help.setWindowModality(Qt::WindowModal);
    m_help = &help;
    help.exec();
}

void Twk02::closeEvent(QCloseEvent* event) {
    if (m_nested > 0) {
        // Let the prompt wait or the help window's own loop end first; the form
        // closes as soon as they have returned.
        m_closePending = true;
        m_forms.closePrompt();
        if (m_help)
            m_help->reject();
        event->ignore();
        return;
    }
    m_timer1.stop();
    QMainWindow::closeEvent(event);
}
