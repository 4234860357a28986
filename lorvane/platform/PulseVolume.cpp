#include "platform/PulseVolume.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <string>

namespace lorvane {

namespace {

// What the sink-info request brings back.
struct SinkState {
    bool done = false;
    bool found = false;
    pa_cvolume volume{};
    pa_channel_map map{};
};

struct ServerState {
    bool done = false;
    std::string defaultSink;
};

struct Result {
    bool done = false;
    bool ok = false;
};

void onServerInfo(pa_context*, const pa_server_info* info, void* userdata) {
    auto* s = static_cast<ServerState*>(userdata);
    if (info && info->default_sink_name)
        s->defaultSink = info->default_sink_name;
    s->done = true;
}

void onSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* userdata) {
    auto* s = static_cast<SinkState*>(userdata);
    if (eol != 0) {
        s->done = true;
        return;
    }
    if (info && !s->found) {
        s->found = true;
        s->volume = info->volume;
        s->map = info->channel_map;
    }
}

void onSuccess(pa_context*, int success, void* userdata) {
    auto* r = static_cast<Result*>(userdata);
    r->ok = success != 0;
    r->done = true;
}

void onChange(pa_context*, pa_subscription_event_type_t, uint32_t, void* noticed) {
    *static_cast<bool*>(noticed) = true;
}

bool hasFrontPair(const pa_channel_map& map) {
    return pa_channel_map_has_position(&map, PA_CHANNEL_POSITION_FRONT_LEFT) &&
           pa_channel_map_has_position(&map, PA_CHANNEL_POSITION_FRONT_RIGHT);
}

// Front left and right of the sink; a sink without them (mono) shows its loudest
// channel on both sides.
StereoVolume stereoOf(const pa_cvolume& volume, const pa_channel_map& map) {
    if (hasFrontPair(map)) {
        return {PulseVolume::toPosition(
                    pa_cvolume_get_position(&volume, &map, PA_CHANNEL_POSITION_FRONT_LEFT)),
                PulseVolume::toPosition(
                    pa_cvolume_get_position(&volume, &map, PA_CHANNEL_POSITION_FRONT_RIGHT))};
    }
    const int all = PulseVolume::toPosition(pa_cvolume_max(&volume));
    return {all, all};
}

} // namespace

struct PulseVolume::DefaultSink {
    std::string name;
    pa_cvolume volume{};
    pa_channel_map map{};
};

PulseVolume::PulseVolume() = default;

PulseVolume::~PulseVolume() {
    disconnect(false);
}

// The server's scale is the one desktop mixers show as percent (PA_VOLUME_NORM is
// 100 %), so 50 % in the program is 50 % in the mixer; louder than 100 % shows full.
int PulseVolume::toPosition(unsigned serverVolume) {
    const quint64 v = std::min<quint64>(serverVolume, PA_VOLUME_NORM);
    return int((v * 65535 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
}

unsigned PulseVolume::toServerVolume(int position) {
    const quint64 p = std::clamp(position, 0, 65535);
    return unsigned((p * PA_VOLUME_NORM + 65535 / 2) / 65535);
}

void PulseVolume::disconnect(bool pause) {
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_mainloop_free(m_loop);
        m_loop = nullptr;
    }
    if (pause)
        m_retryAfter = QDeadlineTimer(RetryPauseMs);
}

bool PulseVolume::iterate(const QDeadlineTimer& deadline) {
    const qint64 left = deadline.remainingTime();
    if (left <= 0)
        return false;
    if (pa_mainloop_prepare(m_loop, int(std::min<qint64>(left, 50)) * 1000) < 0)
        return false;
    if (pa_mainloop_poll(m_loop) < 0)
        return false;
    return pa_mainloop_dispatch(m_loop) >= 0;
}

template <typename Done> bool PulseVolume::runUntil(const QDeadlineTimer& deadline, Done done) {
    while (!done()) {
        if (!iterate(deadline))
            return false;
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
            return false;
    }
    return true;
}

bool PulseVolume::connect(const QDeadlineTimer& deadline) {
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return true;
    disconnect(false);
    if (!m_retryAfter.hasExpired())
        return false;
    m_loop = pa_mainloop_new();
    m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Lorvane");
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        disconnect(true);
        return false;
    }
    bool ready = false;
    while (!ready) {
        if (!iterate(deadline)) {
            disconnect(true);
            return false;
        }
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            ready = true;
        else if (!PA_CONTEXT_IS_GOOD(state)) {
            disconnect(true);
            return false;
        }
    }
    // Every change of an output or of the server (its default output) is noticed; what
    // changed is read when the strip next asks.
    pa_context_set_subscribe_callback(m_context, onChange, &m_noticed);
    if (pa_operation* op = pa_context_subscribe(
            m_context,
            pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
            nullptr, nullptr))
        pa_operation_unref(op);
    return true;
}

template <typename Done>
bool PulseVolume::finish(pa_operation* op, const QDeadlineTimer& deadline, Done done) {
    if (!op)
        return false;
    const bool finished = runUntil(deadline, done);
    // A request that ran out must not call back into state that is gone by then.
    if (pa_operation_get_state(op) == PA_OPERATION_RUNNING)
        pa_operation_cancel(op);
    pa_operation_unref(op);
    return finished;
}

bool PulseVolume::defaultSink(const QDeadlineTimer& deadline, DefaultSink& sink) {
    if (!connect(deadline))
        return false;
    ServerState server;
    if (!finish(pa_context_get_server_info(m_context, onServerInfo, &server), deadline,
                [&] { return server.done; })) {
        disconnect(true);
        return false;
    }
    if (server.defaultSink.empty())
        return false;

    sink.name = server.defaultSink;
    SinkState state;
    if (!finish(pa_context_get_sink_info_by_name(m_context, sink.name.c_str(), onSinkInfo, &state),
                deadline, [&] { return state.done; })) {
        disconnect(true);
        return false;
    }
    if (!state.found)
        return false;
    sink.volume = state.volume;
    sink.map = state.map;
    return true;
}

std::optional<StereoVolume> PulseVolume::read() {
    DefaultSink sink;
    if (!defaultSink(QDeadlineTimer(DeadlineMs), sink))
        return std::nullopt;
    m_known = stereoOf(sink.volume, sink.map);
    return m_known;
}

std::optional<StereoVolume> PulseVolume::changed() {
    if (!m_context || pa_context_get_state(m_context) != PA_CONTEXT_READY)
        return std::nullopt;
    // Takes in what the server has sent, without waiting for more.
    for (int i = 0; i < 100 && pa_mainloop_iterate(m_loop, 0, nullptr) > 0; ++i) {
    }
    if (pa_context_get_state(m_context) != PA_CONTEXT_READY) {
        disconnect(true);
        return std::nullopt;
    }
    if (!m_noticed)
        return std::nullopt;
    m_noticed = false;
    const std::optional<StereoVolume> before = m_known;
    const std::optional<StereoVolume> now = read();
    if (!now || now == before)
        return std::nullopt;
    return now;
}

bool PulseVolume::write(const StereoVolume& volume) {
    const QDeadlineTimer deadline(DeadlineMs);
    DefaultSink sink;
    if (!defaultSink(deadline, sink))
        return false;

    // The sink's own volume is the starting point, so channels other than the front
    // pair keep their level.
    pa_cvolume target = sink.volume;
    if (volume.left < 0 && volume.right < 0)
        return true;
    const pa_volume_t left = toServerVolume(volume.left);
    const pa_volume_t right = toServerVolume(volume.right);
    if (hasFrontPair(sink.map)) {
        if (volume.left >= 0)
            pa_cvolume_set_position(&target, &sink.map, PA_CHANNEL_POSITION_FRONT_LEFT, left);
        if (volume.right >= 0)
            pa_cvolume_set_position(&target, &sink.map, PA_CHANNEL_POSITION_FRONT_RIGHT, right);
    } else {
        pa_cvolume_set(&target, target.channels,
                       volume.left < 0    ? right
                       : volume.right < 0 ? left
                                          : std::max(left, right));
    }

    Result result;
    if (!finish(pa_context_set_sink_volume_by_name(m_context, sink.name.c_str(), &target, onSuccess,
                                                   &result),
                deadline, [&] { return result.done; })) {
        disconnect(true);
        return false;
    }
    if (result.ok)
        m_known = stereoOf(target, sink.map);
    return result.ok;
}

} // namespace lorvane
