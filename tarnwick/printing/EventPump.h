#pragma once

// Lets a long handler keep the program's windows working.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Handles every event already queued once, then returns.
    virtual void processPending() = 0;
    // Like processPending(), but first sleeps until at least one event is there,
    // so a wait for the user costs no processor time.
    virtual void waitAndProcess() = 0;
};
