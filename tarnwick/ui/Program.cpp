#include "Program.h"

#include "ConfigDialog.h"
#include "FormPlacement.h"
#include "ResidentForm.h"
#include "platform/InstanceChannel.h"

Program::Program(const ProgramServices& services, QString programName, QObject* parent)
    : QObject(parent), m_services(services), m_programName(std::move(programName)) {}

Program::~Program() {
    m_ended = true;
    delete m_twk01;
    delete m_twk02;
}

Twk01* Program::configuration() const {
    return m_twk01;
}

Twk02* Program::resident() const {
    return m_twk02;
}

void Program::start(StartStep step) {
    if (step == StartStep::OpenConfiguration)
        openConfiguration();
    else if (step == StartStep::LoadResident)
        loadResident();
}

void Program::openConfiguration() {
    if (!m_twk01) {
        m_twk01 = new Twk01(m_services, m_shared, m_programName);
        m_twk01->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_twk01, &Twk01::residentRequested, this, &Program::loadResident);
        connect(m_twk01, &Twk01::closeProgramRequested, this, &Program::shutdown);
        m_dialogObject = m_twk01;
        connect(m_twk01, &QObject::destroyed, this, &Program::formGone);
    }
    BringForward(m_twk01);
    // The About box stands over the dialog it blocks: it comes forward too.
    m_twk01->bringAboutBoxForward();
}

void Program::loadResident() {
    if (m_twk02)
        return;
    m_twk02 = new Twk02(m_services, m_shared);
    m_twk02->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_twk02, &Twk02::configureRequested, this, &Program::openConfiguration);
    connect(m_twk02, &Twk02::closeRequested, this, &Program::shutdown);
    m_residentObject = m_twk02;
    connect(m_twk02, &QObject::destroyed, this, &Program::formGone);
    // The window exists from now on, but it is never mapped, so it never flashes up.
    m_twk02->winId();
}

void Program::shutdown() {
    if (m_twk01) {
        m_twk01->closeAboutBox();
        m_twk01->close();
    }
    if (m_twk02)
        m_twk02->close();
}

void Program::runCommand(Command command, const CommandReply& reply) {
    switch (command) {
    case Command::Print:
    case Command::PrintWindow:
        if (m_twk02) {
            m_twk02->printByCommand(command == Command::Print ? CaptureKind::WholeScreen
                                                              : CaptureKind::ActiveWindow,
                                    reply);
        } else if (reply) {
            reply(1, QStringLiteral("Tarnwick32 is not set up yet: confirm its configuration "
                                    "dialog with OK first. Nothing was printed."));
        }
        return;
    case Command::Configure:
        openConfiguration();
        break;
    case Command::Quit:
        // Answered first: the program may be gone before its loop writes anything.
        if (reply)
            reply(0, QString());
        shutdown();
        return;
    case Command::Start:
    case Command::Help:
        break;
    }
    if (reply)
        reply(0, QString());
}

void Program::takeCommandsFrom(InstanceChannel& channel) {
    connect(&channel, &InstanceChannel::actionReceived, this,
            [this, &channel](const QString& word) {
                if (const std::optional<Command> action = CommandFromWord(word))
                    runCommand(*action, channel.currentReply());
            });
}

void Program::formGone(QObject* form) {
    if (form == m_dialogObject)
        m_dialogObject = nullptr;
    if (form == m_residentObject)
        m_residentObject = nullptr;
    if (!m_dialogObject && !m_residentObject && !m_ended) {
        m_ended = true;
        emit ended();
    }
}
