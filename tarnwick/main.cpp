#include "CommandPrint.h"
#include "Program.h"
#include "ProgramIcon.h"
#include "QtMessageBoxes.h"
#include "platform/GraphicalSession.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"
#include "platform/KeyTriggerXInput.h"
#include "platform/QtClipboard.h"
#include "platform/QtEventPump.h"
#include "platform/QtScreenInfo.h"
#include "platform/QtSettingsStore.h"
#include "platform/ScreenCapturePortal.h"
#include "platform/ScreenCaptureX11.h"
#include "printer/CupsPrintSystem.h"
#include "printing/CommandLine.h"
#include "printing/Notices.h"
#include "printing/StartRoutine.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace {

// Said once per version, without holding the start up: the program still configures.
void showKeyBindingNotice() {
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Tarnwick32"),
        QStringLiteral("Tarnwick32 cannot watch the Print Screen key on this desktop. "
                       "Bind the key to the command \"tarnwick --print\" (and Alt+Print "
                       "Screen to \"tarnwick --print-window\") in the desktop's keyboard "
                       "settings; \"tarnwick --help\" says how."),
        QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const std::optional<Command> command = ParseCommand(arguments);
    if (!command) {
        std::fprintf(stderr, "tarnwick: %s\nTry \"tarnwick --help\".\n",
                     qPrintable(CommandLineError(arguments)));
        return 2;
    }
    if (*command == Command::Help) {
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    }
    // An action goes to the running instance, which needs no display of ours.
    if (*command != Command::Start) {
        if (const std::optional<InstanceChannel::Answer> answer =
                InstanceChannel::send(CommandWord(*command))) {
            if (!answer->text.isEmpty())
                std::fprintf(stderr, "tarnwick: %s\n", qPrintable(answer->text));
            return answer->status;
        }
    }
    if (*command == Command::Quit)
        return 0;

    if (const QString problem = GraphicalSessionProblem(); !problem.isEmpty()) {
        std::fprintf(stderr, "tarnwick needs a graphical session: %s\n", qPrintable(problem));
        return 1;
    }
    // Qt's own options are not ours to take: the actions were read above.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The resident form is never shown: the program ends when its forms are gone.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());

    QtSettingsStore store;
    QtScreenInfo screen;
    QtClipboard clipboard;
    CupsPrintSystem printers;
    QtMessageBoxes messages;
    QtEventPump events;
    // On a Wayland session the key is not ours to watch: the desktop runs the command.
    KeyTriggerXInput trigger(nullptr, !WaylandSession());
    // There the X root window holds only X clients: the desktop's portal has the screen.
    std::unique_ptr<ScreenCapture> capture;
    if (WaylandSession())
        capture = std::make_unique<ScreenCapturePortal>();
    else
        capture = std::make_unique<ScreenCaptureX11>();
    QObject::connect(&trigger, &KeyTrigger::printPressed, capture.get(),
                     &ScreenCapture::captureToClipboard);
    const ProgramServices services{store,    screen, clipboard, printers,
                                   messages, events, trigger,   *capture};

    if (*command == Command::Print || *command == Command::PrintWindow) {
        return PrintOnce(services, *command == Command::Print ? CaptureKind::WholeScreen
                                                              : CaptureKind::ActiveWindow);
    }

    InstanceLock instance;
    const StartStep step = RunStartRoutine(instance.anotherInstanceRuns(), store);
    if (step == StartStep::EndAtOnce)
        return 0;

    const QString programName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    Program program(services, programName);
    QObject::connect(&program, &Program::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    InstanceChannel channel;
    program.takeCommandsFrom(channel);
    channel.listen();
    program.start(step);
    if (*command == Command::Configure && step != StartStep::OpenConfiguration)
        program.openConfiguration();
    // After the forms, so that it stands in front of the first start's dialog.
    if (!trigger.isAvailable() && NoticeDue(store, kStartNotice))
        showKeyBindingNotice();
    return app.exec();
}
