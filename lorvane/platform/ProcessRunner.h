#pragma once

#include "player/CommandRunner.h"

namespace lorvane {

// Starts programs with fork and exec, detached: the program becomes a child of an
// intermediate process that ends at once, so no zombie is left to reap.
class ProcessRunner : public CommandRunner {
public:
    bool start(const std::vector<QByteArray>& argv) override;
};

} // namespace lorvane
