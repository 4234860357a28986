#!/bin/bash
# Starts or stops an Xvfb server on $DISPLAY for the tests.
. "$(dirname "$0")/common.sh"
pidfile=$SERVICE_RUN_DIR/xvfb.pid
case ${1:-} in
start)
    stop_pidfile "$pidfile"
    num=${DISPLAY#:}
    rm -f "/tmp/.X${num}-lock" "/tmp/.X11-unix/X${num}"
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$SERVICE_RUN_DIR/xvfb.log" 2>&1 &
    echo $! >"$pidfile"
    wait_for Xvfb xdpyinfo -display "$DISPLAY"
    ;;
stop) stop_pidfile "$pidfile" ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
