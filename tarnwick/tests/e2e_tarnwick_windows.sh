# The forms under a window manager and a tray host, as a user meets them: a minimised
# dialog, help window or About box comes back when it is opened again (the window
# manager offers minimising, and none of them has a task-bar entry), and the tray menu
# still opens and "Close" still ends the program while the About box is up.
. "$(dirname "$0")/e2e_lib.sh"

start_x
start_tray wm
add_queue "TWKE2E_WIN_$$"
store_settings
start_tarnwick

window_count() { visible_windows | wc -l; }
more_windows_than() { [ "$(window_count)" -gt "$1" ]; }
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
is_state() { xprop -id "$1" WM_STATE | grep -q "window state: $2"; }
comes_back() { # comes_back WINDOW WHAT COMMAND...: minimised, then back after COMMAND
    local window=$1 what=$2
    shift 2
    xdotool windowminimize "$window"
    wait_until 10 is_state "$window" Iconic || fail "the window manager did not minimise $what"
    "$@"
    wait_until 10 is_state "$window" Normal || fail "$what stayed minimised after $*"
}

wait_until 30 has_tray_icon || fail "no tray icon"
click_icon 1 2
wait_until 30 configuration_window || fail "a double click did not open the dialog"
DIALOG=$(configuration_window | head -n1)
comes_back "$DIALOG" "the dialog" click_icon 1 2
comes_back "$DIALOG" "the dialog" menu_choose c

menu_choose h
wait_until 30 named_window 'Tarnwick32 - Help' || fail '"Help" did not open the help window'
HELP=$(named_window 'Tarnwick32 - Help')
comes_back "$HELP" "the help window" menu_choose h
xdotool windowfocus --sync "$HELP" key Escape

# The About box comes forward with the dialog; "Close" ends the program while it is up.
xdotool windowfocus --sync "$DIALOG" key alt+a
wait_until 30 named_window 'About Tarnwick32' || fail "About did not open the About box"
comes_back "$(named_window 'About Tarnwick32')" "the About box" click_icon 1 2
menu_choose l
wait_until 30 program_ended || fail '"Close" did not end the program while the About box was up'
has_tray_icon && fail "the tray icon stayed"
echo PASS
