#pragma once

#include <QStringList>

#include <optional>

namespace lorvane::test {

// pactl against the test's sound server ($PULSE_SERVER).
struct SinkChannels {
    int frontLeft = -1;
    int frontRight = -1;
    QList<int> all; // every channel, in the sink's order
};

// Runs pactl with the arguments; its standard output, or nothing when it failed.
std::optional<QString> pactl(const QStringList& args);
// The raw volumes of the default sink's channels.
std::optional<SinkChannels> defaultSinkVolume();
// Sets the default sink's channels to raw volumes.
bool setDefaultSinkVolume(const QList<int>& raw);

} // namespace lorvane::test
