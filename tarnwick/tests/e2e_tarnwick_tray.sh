# First start through the dialog, then the tray: double click opens the dialog, the
# menu switches printing off (Print Screen then shows the notice and prints nothing)
# and "Close" ends the program and takes the icon away.
. "$(dirname "$0")/e2e_lib.sh"

start_x
add_queue "TWKE2E_TRAY_$$"
QUEUE=${QUEUES[0]}

trayer --edge top --align right --widthtype request --height 24 >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
panel_up() { xdotool search --name '^panel$'; }
wait_until 30 panel_up || fail "the tray host did not start"
PANEL=$(xdotool search --name '^panel$' | head -n1)

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
only_icon() { [ "$(visible_windows)" = "$(tray_icon)" ]; }
menu_open() { ! only_icon; }
menu_choose() { # menu_choose ACCESS-KEY
    wait_until 10 only_icon || fail "windows left open before the menu"
    click_icon 3
    wait_until 10 menu_open || fail "the tray menu did not open"
    xdotool key "$1"
}
dialog_open() { configuration_window; }
dialog_closed() { ! configuration_window; }
program_ended() { ! kill -0 "$TARNWICK_PID"; }

# First start: the dialog alone, no icon, nothing stored.
start_tarnwick
wait_until 30 dialog_open || fail "the first start did not show the configuration dialog"
has_tray_icon && fail "a tray icon before the first OK"
[ -z "$(stored_value PrintSpecific)" ] || fail "settings stored before OK"

DIALOG=$(configuration_window | head -n1)
xdotool windowfocus --sync "$DIALOG" key Return
wait_until 30 dialog_closed || fail "OK did not close the dialog"
wait_until 30 has_tray_icon || fail "no tray icon after the first OK"
[ "$(stored_value PrintSpecific)" = 0 ] || fail "OK did not store the settings"
[ "$(stored_value PrintDevice)" = '<System Default>' ] || fail "OK stored another printer"

xdotool key Print
wait_for_jobs "$QUEUE" 1

# A double click opens the dialog; Esc closes it again without storing.
click_icon 1 2
wait_until 30 dialog_open || fail "a double click did not open the dialog"
DIALOG=$(configuration_window | head -n1)
xdotool windowfocus --sync "$DIALOG" key Escape
wait_until 30 dialog_closed || fail "Esc did not close the dialog"

# Printing off: the next Print Screen shows the notice and prints nothing.
menu_choose e
wait_until 10 only_icon || fail "the menu stayed open"
notice_shown() { ! only_icon; }
xdotool key Print
wait_until 10 notice_shown || fail "no notice while printing is off"
sleep 2.5
[ "$(completed_jobs "$QUEUE")" -eq 1 ] || fail "printed while printing is off"
[ "$(pending_jobs "$QUEUE")" -eq 0 ] || fail "printed while printing is off"

# "Close" ends the program and the icon leaves the tray.
menu_choose l
wait_until 30 program_ended || fail "Close did not end the program"
has_tray_icon && fail "the tray icon stayed"
echo PASS
