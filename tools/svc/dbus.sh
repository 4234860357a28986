#!/bin/bash
# Starts or stops a private D-Bus session bus at $DBUS_SESSION_BUS_ADDRESS.
. "$(dirname "$0")/common.sh"
pidfile=$SERVICE_RUN_DIR/dbus.pid
case ${1:-} in
start)
    stop_pidfile "$pidfile" dbus-daemon
    mkdir -p "$SERVICE_RUN_DIR/dbus"
    rm -f "$SERVICE_RUN_DIR/dbus/bus"
    dbus-daemon --session --fork --address="$DBUS_SESSION_BUS_ADDRESS" \
        --print-pid=1 >"$pidfile"
    wait_for dbus-daemon dbus-send --bus="$DBUS_SESSION_BUS_ADDRESS" --type=method_call \
        --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.ListNames
    ;;
stop) stop_pidfile "$pidfile" dbus-daemon ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
