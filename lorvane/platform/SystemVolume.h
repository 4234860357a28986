#pragma once

#include <optional>

namespace lorvane {

// Left and right channel volume of the default sound output, each 0 ... 65535. In a
// write, a negative channel is left as the output has it (which may be louder than
// 65535 stands for).
struct StereoVolume {
    int left = 0;
    int right = 0;
    bool operator==(const StereoVolume&) const = default;
};

// The sound output's volume. A missing or silent sound server answers nothing and
// accepts nothing; callers never report it.
class SystemVolume {
public:
    virtual ~SystemVolume() = default;
    virtual std::optional<StereoVolume> read() = 0;
    virtual bool write(const StereoVolume& volume) = 0;
    // The volume when someone else (keys, the desktop's mixer) has changed it since the
    // last read or write, or another output has become the default; nothing otherwise.
    // Cheap enough for every tick of a timer.
    virtual std::optional<StereoVolume> changed() { return std::nullopt; }
};

} // namespace lorvane
