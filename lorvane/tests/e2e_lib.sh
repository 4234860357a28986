# Shared by lorvane's end-to-end scripts (sourced, not a test of its own). The script
# gives $work (its folder), pids (what to stop at the end) and fail.

# until_true SECONDS COMMAND...: retries COMMAND every 0.1 s for up to SECONDS.
until_true() {
    local tries=$(($1 * 10)); shift
    for _ in $(seq "$tries"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# start_x: an X server of the script's own, named by DISPLAY from then on. -noreset: the
# server would otherwise start over when xdpyinfo leaves, and a client connecting
# meanwhile is turned away.
start_x() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    until_true 10 test -s "$work/display" || fail "the X server did not start"
    export DISPLAY=:$(head -1 "$work/display")
    until_true 10 xdpyinfo || fail "the X server does not answer"
}

# start_window_manager: openbox on that display.
start_window_manager() {
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    until_true 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "the window manager did not start: $(cat "$work/openbox.log")"
}
