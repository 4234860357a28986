#!/bin/bash
# lorvane under a StatusNotifierItem host (xfce4-panel's status tray) on a display and a
# session bus of its own: the icon registers as an item whose menu travels over DBusMenu
# with "Open" and "Exit", and "Exit" chosen there ends the program with its settings
# written. Skipped (77) where xfce4-panel or Xvfb is not installed.
set -u
for tool in Xvfb xfce4-panel dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
bin=$LORVANE_BIN_DIR/lorvane
work=$(mktemp -d)
export LORVANE_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run HOME=$work
unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER XDG_CURRENT_DESKTOP
mkdir -p "$LORVANE_HOME" "$XDG_CONFIG_HOME/Lorvane" "$XDG_RUNTIME_DIR" \
    "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
chmod 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/Lorvane/Lorvane.conf
pids=()
xfconfd=
cleanup() {
    # The panel first, then the bus, the display last. The bus started the panel's
    # configuration service, which ends by itself when the bus goes: wait for it.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    [ -n "$xfconfd" ] && until_true 10 sh -c "! kill -0 $xfconfd"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for log in lorvane panel; do
        [ -s "$work/$log.log" ] && { echo "--- $log:" >&2; cat "$work/$log.log" >&2; }
    done
    exit 1
}
. "$(dirname "$0")/e2e_lib.sh"

# One panel with the status tray only, so the panel asks nothing at its first start.
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML

start_x

export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 &
pids+=($!)
until_true 10 test -S "$work/bus" || fail "the session bus did not start"

call() { # call DEST PATH METHOD ARGS...: a method call's reply
    local dest=$1 path=$2 method=$3; shift 3
    dbus-send --session --print-reply --dest="$dest" "$path" "$method" "$@"
}
prop() { call "$1" "$2" org.freedesktop.DBus.Properties.Get "string:$3" "string:$4"; }

# No window manager runs here; the panel would wait for one.
xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
pids+=($!)
until_true 30 call org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Peer.Ping || fail "the status tray did not come up"

xfconfd=$(call org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.xfce.Xfconf 2>/dev/null |
    awk '/uint32/ { print $2 }')

"$bin" >"$work/lorvane.log" 2>&1 &
pid=$!
pids+=($pid)
items() {
    prop org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
        RegisteredStatusNotifierItems | grep -o '"[^"]*StatusNotifierItem[^"]*"' | tr -d '"'
}
has_item() { [ -n "$(items)" ]; }
until_true 20 has_item || fail "the icon did not register with the tray"
item=$(items | head -1)
service=${item%%/*}
path=/${item#*/}

menu=$(prop "$service" "$path" org.kde.StatusNotifierItem Menu | awk '/object path/ { print $NF }' |
    tr -d '"')
[ -n "$menu" ] && [ "$menu" != /NO_DBUSMENU ] || fail "the icon publishes no menu ($menu)"
layout=$(call "$service" "$menu" com.canonical.dbusmenu.GetLayout int32:0 int32:-1 \
    array:string:label) || fail "the menu cannot be read"
grep -q 'string "_Open"' <<<"$layout" || fail "the menu has no Open: $layout"
grep -q 'string "E_xit"' <<<"$layout" || fail "the menu has no Exit: $layout"

exit_id=$(awk '/^ *int32 / { id = $2 } /string "E_xit"/ { print id; exit }' <<<"$layout")
call "$service" "$menu" com.canonical.dbusmenu.Event "int32:$exit_id" string:clicked \
    variant:int32:0 uint32:0 >/dev/null || fail "the tray host cannot choose Exit"
until_true 20 sh -c "! kill -0 $pid" || fail "Exit from the tray's menu did not end the program"
wait "$pid"
rc=$?
[ "$rc" -eq 0 ] || fail "the program ended with status $rc"
test -s "$settings" || fail "the settings were not written at the end"
echo "PASS"
