#pragma once

#include "platform/EventPump.h"

class QtEventPump : public EventPump {
public:
    void processPending() override;
    void waitAndProcess() override;
};
