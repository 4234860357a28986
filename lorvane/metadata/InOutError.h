#pragma once

#include <stdexcept>
#include <string>

// A failure to open, seek, read, write or truncate a file. The tag and stream
// readers do not report these through their own error texts: they end the
// operation and the caller shows its one fixed message.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(const std::string& what) : std::runtime_error(what) {}
};
