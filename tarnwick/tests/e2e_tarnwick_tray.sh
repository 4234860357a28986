# First start through the dialog, then the tray: double click opens the dialog, the
# menu switches printing off (Print Screen then shows the notice and prints nothing)
# and "Close" ends the program and takes the icon away.
. "$(dirname "$0")/e2e_lib.sh"

start_x
add_queue "TWKE2E_TRAY_$$"
QUEUE=${QUEUES[0]}

start_tray

only_icon() { [ "$(visible_windows)" = "$(tray_icon)" ]; }
menu_open() { ! only_icon; }
menu_choose() { # menu_choose ACCESS-KEY
    wait_until 10 only_icon || fail "windows left open before the menu"
    # A press lost while the tray host settles on a loaded machine is pressed again.
    for _ in 1 2 3; do
        click_icon 3
        wait_until 5 menu_open && break
    done
    menu_open || fail "the tray menu did not open"
    xdotool key "$1"
}
dialog_open() { configuration_window; }
dialog_closed() { ! configuration_window; }

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
