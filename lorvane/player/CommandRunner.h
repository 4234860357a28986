#pragma once

#include <QByteArray>

#include <vector>

namespace lorvane {

// Starts a program with its arguments as exact byte strings, without a shell, and
// does not wait for it.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // argv[0] is the program, looked up on PATH when it has no slash.
    virtual bool start(const std::vector<QByteArray>& argv) = 0;
};

} // namespace lorvane
