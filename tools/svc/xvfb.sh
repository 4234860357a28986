#!/bin/bash
# Starts or stops an Xvfb server on $DISPLAY for the tests.
. "$(dirname "$0")/common.sh"
pidfile=$SERVICE_RUN_DIR/xvfb.pid
case ${1:-} in
start)
    stop_pidfile "$pidfile" Xvfb
    # Xvfb itself clears a lock left by a server that is gone, and refuses a display
    # another live server holds: that server's lock and socket are never touched.
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$SERVICE_RUN_DIR/xvfb.log" 2>&1 &
    echo $! >"$pidfile"
    wait_for Xvfb xdpyinfo -display "$DISPLAY" || { cat "$SERVICE_RUN_DIR/xvfb.log" >&2; exit 1; }
    ;;
stop) stop_pidfile "$pidfile" Xvfb ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
