#include "QtEventPump.h"

#include <QCoreApplication>

void QtEventPump::processPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitAndProcess() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
