# Shared by tarnwick's end-to-end scripts (sourced, not a test of its own): a private X
# server, queues of their own on the build tree's private scheduler (CUPS_SERVER), a
# private settings folder, and the programs started for one script, all removed again
# when the script ends.
: "${CUPS_SERVER:?the tests reach only their own scheduler}"
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin # lpadmin, which an ordinary user's PATH lacks

: "${TARNWICK_BIN_DIR:?}"
TARNWICK=$TARNWICK_BIN_DIR/tarnwick
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-e2e.XXXXXX")
# The scheduler's file backend writes as its own user: it must reach the output folder.
chmod 755 "$WORK"
mkdir -p "$WORK/config" "$WORK/runtime" "$WORK/out"
chmod 700 "$WORK/runtime"
chmod 777 "$WORK/out"
export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime HOME=$WORK
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
QUEUES=()
PIDS=()

cleanup() {
    local pid q
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    for q in "${QUEUES[@]}"; do lpadmin -x "$q" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/tarnwick.log" ]; then
        echo "--- tarnwick's output:" >&2
        cat "$WORK/tarnwick.log" >&2
    fi
    exit 1
}

# wait_until SECONDS COMMAND...: polls until the command succeeds.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# An X server of our own, so no other test's windows or keys meet ours.
start_x() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    wait_until 20 test -s "$WORK/display" || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$WORK/display")
    wait_until 20 xdpyinfo || fail "Xvfb does not answer on $DISPLAY"
}

# add_queue NAME: a file queue writing $WORK/out/NAME.pdf; the first one added is the
# default printer of the programs this script starts (and of nobody else).
add_queue() {
    local name=$1
    lpadmin -p "$name" -E -v "file://$WORK/out/$name.pdf" \
        -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd 2>/dev/null
    QUEUES+=("$name")
    [ -n "${PRINTER:-}" ] || export PRINTER=$name
}

completed_jobs() { lpstat -W completed -o "$1" 2>/dev/null | grep -c "^$1-" || true; }
pending_jobs() { lpstat -o "$1" 2>/dev/null | grep -c "^$1-" || true; }

jobs_done() { [ "$(completed_jobs "$1")" -ge "$2" ]; }
no_jobs_waiting() { [ "$(pending_jobs "$1")" -eq 0 ]; }

# wait_for_jobs QUEUE COUNT: until COUNT jobs are done and none is waiting.
wait_for_jobs() {
    local queue=$1 count=$2
    wait_until 60 jobs_done "$queue" "$count" ||
        fail "$queue has $(completed_jobs "$queue") finished jobs, expected $count"
    wait_until 60 no_jobs_waiting "$queue" || fail "$queue keeps waiting jobs"
}

pdf_pages() { pdfinfo "$WORK/out/$1.pdf" | awk '/^Pages:/ { print $2 }'; }

# store_settings KEY=VALUE...: the settings file as an earlier OK of the dialog left it.
store_settings() {
    mkdir -p "$XDG_CONFIG_HOME/Tarnwick32"
    {
        echo '[General]'
        printf '%s\n' PrintSpecific=0 X_Coord=0 Y_Coord=0 W_Coord=1280 H_Coord=1024 \
            ScaleFactorX=1 ScaleFactorY=1 PrintOrientation=2 PrintNegative=0 PrintPrompt=0 \
            ScaleToFit=0 GreyScale=0 'PrintDevice=<System Default>' "$@"
    } >"$XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf.new"
    mv "$XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf.new" "$XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf"
}

stored_value() {
    sed -n "s/^$1=//p" "$XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf" 2>/dev/null
}

start_tarnwick() {
    "$TARNWICK" >"$WORK/tarnwick.log" 2>&1 &
    TARNWICK_PID=$!
    PIDS+=("$TARNWICK_PID")
}

# The hidden resident form exists (and with it the key trigger) once its window is there.
resident_ready() { xdotool search --name '^Tarnwick32$' >/dev/null; }

# Ids of the program's windows on the screen, one a line.
visible_windows() { xdotool search --onlyvisible --class '^tarnwick$' 2>/dev/null || true; }

configuration_window() { xdotool search --onlyvisible --name '^Tarnwick32 Configuration$'; }

# start_tray [wm]: a tray host on our X server, with a window manager first when asked.
start_tray() {
    if [ "${1:-}" = wm ]; then
        openbox >"$WORK/openbox.log" 2>&1 &
        PIDS+=($!)
        wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
        wait_until 30 wm_up || fail "the window manager did not start"
    fi
    trayer --edge top --align right --widthtype request --height 24 >"$WORK/trayer.log" 2>&1 &
    PIDS+=($!)
    panel_up() { xdotool search --name '^panel$'; }
    wait_until 30 panel_up || fail "the tray host did not start"
    PANEL=$(xdotool search --name '^panel$' | head -n1)
}

# The program's window inside the tray host, if there is one.
tray_icon() {
    local id
    for id in $(visible_windows); do
        xwininfo -id "$PANEL" -tree | grep -q "^ *$(printf '0x%x' "$id") " && echo "$id"
    done
    return 0
}
has_tray_icon() { [ -n "$(tray_icon)" ]; }
click_icon() { # click_icon BUTTON [REPEAT]
    xdotool mousemove --window "$(tray_icon)" 11 11 click --repeat "${2:-1}" --delay 100 "$1"
}
program_ended() { ! kill -0 "$TARNWICK_PID"; }

# A session bus of the script's own with a StatusNotifierItem host and its watcher on it,
# so that the program's icon becomes an item of that host, not an embedded window.
start_sni_host() {
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus" 4>"$WORK/bus.pid"
    PIDS+=("$(cat "$WORK/bus.pid")")
    DBUS_SESSION_BUS_ADDRESS=$(cat "$WORK/bus")
    export DBUS_SESSION_BUS_ADDRESS
    gtk-sni-tray-standalone --watcher --top >"$WORK/sni.log" 2>&1 &
    PIDS+=($!)
    wait_until 30 sni_watcher 'IsStatusNotifierHostRegistered' 'boolean true' ||
        fail "the StatusNotifierItem host did not start"
}

# sni_watcher PROPERTY TEXT: the watcher's property shows the text.
sni_watcher() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1" |
        grep -q "$2"
}
