# The forms under a window manager and a tray host, as a user meets them: a minimised
# dialog, help window or About box comes back when it is opened again (the window
# manager offers minimising, and none of them has a task-bar entry), and the tray menu
# still opens and "Close" still ends the program while the About box is up.
. "$(dirname "$0")/e2e_lib.sh"

start_x
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_until 30 wm_up || fail "the window manager did not start"
trayer --edge top --align right --widthtype request --height 24 >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
panel_up() { xdotool search --name '^panel$'; }
wait_until 30 panel_up || fail "the tray host did not start"
PANEL=$(xdotool search --name '^panel$' | head -n1)

add_queue "TWKE2E_WIN_$$"
store_settings
start_tarnwick

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
window_count() { visible_windows | wc -l; }
more_windows_than() { [ "$(window_count)" -gt "$1" ]; }
no_more_windows_than() { [ "$(window_count)" -le "$1" ]; }
menu_choose() { # menu_choose ACCESS-KEY: through the tray menu, whatever else is open
    local before try
    before=$(window_count)
    # A click that comes while the last menu is still closing is taken as closing it.
    for try in 1 2 3; do
        click_icon 3
        wait_until 3 more_windows_than "$before" && break
    done
    more_windows_than "$before" || fail "the tray menu did not open"
    xdotool key "$1"
}
named_window() { xdotool search --onlyvisible --name "^$1\$" | head -n1; }
wm_state() { xprop -id "$1" WM_STATE | awk '/window state:/ { print $3 }'; }
is_state() { [ "$(wm_state "$1")" = "$2" ]; }
minimise() { # minimise WINDOW WHAT: the window manager's own minimise
    xdotool windowminimize "$1"
    wait_until 10 is_state "$1" Iconic || fail "the window manager did not minimise $2"
}
expect_back() { # expect_back WINDOW WHAT HOW
    wait_until 10 is_state "$1" Normal || fail "$2 stayed minimised after $3"
}
program_ended() { ! kill -0 "$TARNWICK_PID"; }

wait_until 30 has_tray_icon || fail "no tray icon"

# The dialog: a double click and "Configure" each bring a minimised dialog back.
click_icon 1 2
wait_until 30 configuration_window || fail "a double click did not open the dialog"
DIALOG=$(configuration_window | head -n1)
minimise "$DIALOG" "the dialog"
click_icon 1 2
expect_back "$DIALOG" "the dialog" "a double click"
minimise "$DIALOG" "the dialog"
menu_choose c
expect_back "$DIALOG" "the dialog" '"Configure"'

# The help window: "Help" brings it back; the tray menu works while it is open.
menu_choose h
wait_until 30 named_window 'Tarnwick32 - Help' || fail '"Help" did not open the help window'
HELP=$(named_window 'Tarnwick32 - Help')
minimise "$HELP" "the help window"
menu_choose h
expect_back "$HELP" "the help window" '"Help"'
xdotool windowfocus --sync "$HELP" key Escape
help_closed() { [ -z "$(named_window 'Tarnwick32 - Help')" ]; }
wait_until 10 help_closed || fail "Esc did not close the help window"

# The About box comes back with the dialog, and "Close" from the tray ends the program
# while it is open.
xdotool windowfocus --sync "$DIALOG" key alt+a
wait_until 30 named_window 'About Tarnwick32' || fail "About did not open the About box"
ABOUT=$(named_window 'About Tarnwick32')
minimise "$ABOUT" "the About box"
click_icon 1 2
expect_back "$ABOUT" "the About box" "a double click"
menu_choose l
wait_until 30 program_ended || fail '"Close" did not end the program while the About box was open'
has_tray_icon && fail "the tray icon stayed"
echo PASS
