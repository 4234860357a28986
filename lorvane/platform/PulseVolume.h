#pragma once

#include "platform/SystemVolume.h"

#include <QDeadlineTimer>

#include <optional>

struct pa_context;
struct pa_mainloop;
struct pa_operation;

namespace lorvane {

// The volume of the sound server's default output (PulseAudio, or PipeWire through
// its PulseAudio service). The connection is made on first use and kept; every
// request runs the client loop in place with a short overall deadline, so a silent
// server costs one short wait and is then left alone for a while.
class PulseVolume : public SystemVolume {
public:
    static constexpr int DeadlineMs = 300;
    static constexpr int RetryPauseMs = 2000;

    PulseVolume();
    ~PulseVolume() override;
    PulseVolume(const PulseVolume&) = delete;
    PulseVolume& operator=(const PulseVolume&) = delete;

    std::optional<StereoVolume> read() override;
    bool write(const StereoVolume& volume) override;
    // Follows the server's change notices for outputs and the default one; works on a
    // connection that a read or write has made.
    std::optional<StereoVolume> changed() override;

    // Server volume (0 ... PA_VOLUME_NORM and above) to 0 ... 65535 and back.
    static int toPosition(unsigned serverVolume);
    static unsigned toServerVolume(int position);

private:
    struct DefaultSink;
    bool defaultSink(const QDeadlineTimer& deadline, DefaultSink& sink);
    bool connect(const QDeadlineTimer& deadline);
    void disconnect(bool pause);
    bool iterate(const QDeadlineTimer& deadline);
    template <typename Done> bool runUntil(const QDeadlineTimer& deadline, Done done);
    template <typename Done>
    bool finish(pa_operation* op, const QDeadlineTimer& deadline, Done done);

    pa_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    QDeadlineTimer m_retryAfter;
    // What lorvane last read or wrote, so that the notice of its own write is no change.
    std::optional<StereoVolume> m_known;
    bool m_noticed = false;
};

} // namespace lorvane
