#!/bin/bash
# Starts or stops a PulseAudio server with a null sink, socket at $PULSE_SERVER.
. "$(dirname "$0")/common.sh"
pidfile=$SERVICE_RUN_DIR/pulse.pid
socket=${PULSE_SERVER#unix:}
case ${1:-} in
start)
    stop_pidfile "$pidfile" pulseaudio
    mkdir -p "$SERVICE_RUN_DIR/pulse" "$SERVICE_RUN_DIR/pulse/home"
    rm -f "$socket"
    # Its configuration, state and cookie go to a home of its own, never the user's.
    home=$SERVICE_RUN_DIR/pulse/home
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.local/state \
        XDG_CACHE_HOME=$home/.cache pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --system=false --disallow-exit --use-pid-file=no \
        -L module-null-sink -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
        >"$SERVICE_RUN_DIR/pulse.log" 2>&1 &
    echo $! >"$pidfile"
    wait_for pulseaudio pactl info
    ;;
stop) stop_pidfile "$pidfile" pulseaudio ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
