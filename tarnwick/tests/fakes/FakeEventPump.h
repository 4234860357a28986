// FakeEventPump.h: FakeEventPump, an event pump that runs a script of what the user does.
#pragma once

#include "printing/EventPump.h"

#include <QList>

#include <functional>

// Each pass of events runs the next scripted action, standing for what the user does.
class FakeEventPump : public EventPump {
public:
    void processPending() override { run(); }
    void waitAndProcess() override { run(); }

    QList<std::function<void()>> script;
    int passes = 0;

private:
    void run();
};
