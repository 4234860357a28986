# On a Wayland session (a headless sway with the desktop's real screenshot portal, run as
# an ordinary user, as sway refuses root) tarnwick --print takes the screen from the
# portal and prints it: one job, status 0. Skipped where the stack is not installed.
if [ "${1:-}" = session ]; then
    set -u
    trap 'kill "${PIDS[@]}" 2>/dev/null' EXIT
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$HOME/bus" 4>"$HOME/bus.pid"
    export DBUS_SESSION_BUS_ADDRESS=$(cat "$HOME/bus")
    PIDS=("$(cat "$HOME/bus.pid")")
    echo 'output HEADLESS-1 resolution 1280x800' >"$HOME/sway.conf"
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$HOME/sway.conf" >"$HOME/sway.log" 2>&1 & PIDS+=($!)
    up() { for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$1" ] && return; sleep 0.1; done; return 1; }
    up wayland-1 || exit 1
    export WAYLAND_DISPLAY=wayland-1
    dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP
    pipewire >"$HOME/pipewire.log" 2>&1 & PIDS+=($!)
    up pipewire-0 || exit 1
    # Each waits for the one before on the bus, or a call would start a second by activation.
    owned() { for _ in $(seq 100); do dbus-send --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q true && return; sleep 0.1; done; return 1; }
    /usr/libexec/xdg-desktop-portal-wlr >"$HOME/wlr.log" 2>&1 & PIDS+=($!)
    owned org.freedesktop.impl.portal.desktop.wlr || exit 1
    /usr/libexec/xdg-desktop-portal -r >"$HOME/portal.log" 2>&1 & PIDS+=($!)
    owned org.freedesktop.portal.Desktop || exit 1
    QT_QPA_PLATFORM=offscreen timeout 60 "$TARNWICK" --print; exit
fi

for tool in sway pipewire /usr/libexec/xdg-desktop-portal-wlr; do command -v $tool >/dev/null || exit 77; done
. "$(dirname "$0")/e2e_lib.sh"
add_queue "TWKE2E_WL_$$"
store_settings
USERHOME=$WORK/user
mkdir -p "$USERHOME" && cp -r "$XDG_CONFIG_HOME" "$USERHOME/config"
SCRIPT=$0
AS_USER=()
if [ "$(id -u)" -eq 0 ]; then
    # sway refuses root, so the session runs as nobody, from copies in the work folder:
    # nobody may not pass into the checkout or the build tree (a clone in a 0700 home).
    mkdir -p "$WORK/bin" && cp "$0" "$WORK/bin/session.sh" && cp "$TARNWICK" "$WORK/bin/"
    SCRIPT=$WORK/bin/session.sh TARNWICK=$WORK/bin/tarnwick
    chown -R nobody:nogroup "$USERHOME"
    AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    # The scheduler's socket in the build tree is out of nobody's reach too.
    CUPS_SERVER=$(cat "$SERVICE_RUN_DIR/cups.root")/cups.sock
fi
"${AS_USER[@]}" env -i PATH="$PATH" HOME="$USERHOME" \
    XDG_RUNTIME_DIR="$USERHOME/runtime" XDG_CONFIG_HOME="$USERHOME/config" \
    XDG_CURRENT_DESKTOP=sway CUPS_SERVER="$CUPS_SERVER" PRINTER="$PRINTER" TARNWICK="$TARNWICK" \
    bash "$SCRIPT" session >"$WORK/tarnwick.log" 2>&1 || fail "tarnwick --print on the Wayland session failed"
wait_for_jobs "${QUEUES[0]}" 1
echo PASS
