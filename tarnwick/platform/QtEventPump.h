#pragma once

#include "printing/EventPump.h"

class QtEventPump : public EventPump {
public:
    void processPending() override;
    void waitAndProcess() override;
};
