#!/bin/bash
# lorvane on a real X server with a window manager: a second start ends at once with
# status 0 and brings the minimised first one back; a socket left behind by a killed
# instance does not block the next start; Esc ends the program with its settings written.
# The X server is this test's own, so its window manager meets no other test's.
set -u
bin=$LORVANE_BIN_DIR/lorvane
work=$(mktemp -d)
export LORVANE_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$LORVANE_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/Lorvane/Lorvane.conf
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

. "$(dirname "$0")/e2e_lib.sh"
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
unmapped() { ! viewable "$1"; }
lorvane_window() { xdotool search --onlyvisible --name '^Lorvane$' | head -1; }
has_window() { [ -n "$(lorvane_window)" ]; }

start_x

start_window_manager

"$bin" >"$work/first.log" 2>&1 &
first=$!
pids+=($first)
until_true 20 has_window || fail "the first instance shows no window"
wid=$(lorvane_window)

xdotool windowminimize "$wid"
until_true 10 unmapped "$wid" || fail "the window did not minimise"

timeout 20 "$bin" >"$work/second.log" 2>&1
rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with status $rc"
kill -0 "$first" 2>/dev/null || fail "the first instance is gone"
until_true 10 viewable "$wid" || fail "the first instance did not come back"
[ ! -e "$settings" ] || fail "the second start wrote the settings"

# A crash leaves the socket file behind; the next start must not take it for a running one.
kill -9 "$first"
wait "$first" 2>/dev/null
until_true 10 sh -c "! xwininfo -id $wid" || fail "the killed window stayed"
[ -S "$XDG_RUNTIME_DIR/Popup Lorvane" ] || fail "no socket was left to test with"

"$bin" >"$work/third.log" 2>&1 &
third=$!
pids+=($third)
until_true 20 has_window || fail "the start after a crash shows no window"
kill -0 "$third" 2>/dev/null || fail "the start after a crash ended"

wid=$(lorvane_window)
xdotool windowactivate --sync "$wid" key Escape
until_true 10 sh -c "! kill -0 $third" || fail "Esc did not end the program"
wait "$third"
rc=$?
[ "$rc" -eq 0 ] || fail "the program ended with status $rc"
grep -q '^width=' "$settings" || fail "the settings were not written at the end"
echo "PASS"
