# Under a StatusNotifierItem host, which passes each click on as an activation and never
# a double click, a double click on the icon opens the configuration dialog.
. "$(dirname "$0")/e2e_lib.sh"

start_x
start_sni_host
store_settings
start_tarnwick
wait_until 30 resident_ready || fail "the resident form did not appear"
wait_until 30 sni_watcher RegisteredStatusNotifierItems 'string ":' ||
    fail "the icon did not reach the host"
host=$(xdotool search --onlyvisible --name '^gtk-sni-tray-standalone$' | head -n1)
xdotool mousemove --window "$host" 10 15 click --repeat 2 --delay 100 1
wait_until 30 configuration_window || fail "a double click on the icon opened no dialog"
echo PASS
