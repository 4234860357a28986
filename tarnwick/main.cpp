#include "Program.h"
#include "ProgramIcon.h"
#include "platform/CupsPrintSystem.h"
#include "platform/GraphicalSession.h"
#include "platform/InstanceLock.h"
#include "platform/KeyTriggerXInput.h"
#include "platform/QtClipboard.h"
#include "platform/QtEventPump.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtScreenInfo.h"
#include "platform/QtSettingsStore.h"
#include "platform/ScreenCaptureX11.h"
#include "printing/StartRoutine.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

namespace {

// Said once at start, without holding the start up: the program still configures.
void showNoTriggerNotice() {
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Tarnwick32"),
        QStringLiteral("The Print Screen key can only be watched on an X11 display. "
                       "Tarnwick32 will not print on this desktop."),
        QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace

int main(int argc, char* argv[]) {
    if (!GraphicalSessionReachable()) {
        std::fputs("tarnwick needs a graphical session: no X11 or Wayland display could be "
                   "opened.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // The resident form is never shown: the program ends when its forms are gone.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());

    InstanceLock instance;
    QtSettingsStore store;
    QString osKind;
    const StartStep step =
        RunStartRoutine(instance.anotherInstanceRuns(), QueryOsVersion(), store, osKind);
    if (step == StartStep::EndAtOnce)
        return 0;

    QtScreenInfo screen;
    QtClipboard clipboard;
    CupsPrintSystem printers;
    QtMessageBoxes messages;
    QtEventPump events;
    KeyTriggerXInput trigger;
    ScreenCaptureX11 capture;
    QObject::connect(&trigger, &KeyTrigger::printPressed, &capture,
                     &ScreenCapture::captureToClipboard);

    const QString programName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    Program program({store, screen, clipboard, printers, messages, events, trigger}, osKind,
                    programName);
    QObject::connect(&program, &Program::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!trigger.isAvailable())
        showNoTriggerNotice();
    program.start(step);
    return app.exec();
}
