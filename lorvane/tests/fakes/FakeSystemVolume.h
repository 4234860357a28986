// FakeSystemVolume.h: a SystemVolume in memory that records what is written.
#pragma once

#include "platform/SystemVolume.h"

#include <QList>

#include <utility>

namespace lorvane::test {

// A sound output in memory that records every write; without a volume it acts as a
// missing sound server (reads nothing, refuses writes).
class FakeSystemVolume : public SystemVolume {
public:
    std::optional<StereoVolume> current;
    QList<StereoVolume> writes;
    // Set when someone else changed the volume, as a mixer would.
    bool changedOutside = false;

    std::optional<StereoVolume> read() override { return current; }
    bool write(const StereoVolume& volume) override {
        writes.append(volume);
        if (!current)
            return false;
        if (volume.left >= 0)
            current->left = volume.left;
        if (volume.right >= 0)
            current->right = volume.right;
        return true;
    }
    std::optional<StereoVolume> changed() override {
        if (!std::exchange(changedOutside, false))
            return std::nullopt;
        return current;
    }
};

} // namespace lorvane::test
