#!/bin/bash
# Starts or stops a private CUPS scheduler for this build tree, with a queue that
# prints to a PDF file (TESTPDF, its default, out.pdf) and a second one (TESTPDF2,
# out2.pdf). It listens only on its own socket, which the tests reach through
# $CUPS_SERVER: the machine's own scheduler, its configuration and its default printer
# stay untouched.
# The scheduler runs its filters and backends as its own user, who may not pass into
# the checkout (a clone in a 0700 home folder), so its configuration, spool, logs and
# output live in a fresh folder under the temporary folder, made for this run and
# removed when it stops. $SERVICE_RUN_DIR/cups-out leads to the output for the tests,
# and a second socket in that folder ($SERVICE_RUN_DIR/cups.root names it) serves a test
# that prints as another user.
. "$(dirname "$0")/common.sh"
: "${CUPS_SERVER:?CUPS_SERVER must be set}"
pidfile=$SERVICE_RUN_DIR/cups.pid
rootfile=$SERVICE_RUN_DIR/cups.root
ppd=lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd

running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

# Removes the folder an earlier start made, but only one that is ours: a real folder
# (not a link) of the expected name, owned by us.
remove_root() {
    [ -f "$rootfile" ] || return 0
    local old
    old=$(cat "$rootfile")
    rm -rf "$rootfile" "$SERVICE_RUN_DIR/cups-out"
    case $(basename -- "$old") in lorvane-tarnwick-cups.*) ;; *) return 0 ;; esac
    [ -d "$old" ] && [ ! -L "$old" ] && [ -O "$old" ] && rm -rf -- "$old"
    return 0
}

case ${1:-} in
start)
    stop_pidfile "$pidfile" cupsd
    remove_root
    rm -rf "$SERVICE_RUN_DIR/cups-out" "$SERVICE_RUN_DIR/cups" # what older trees kept here
    root=$(mktemp -d "${TMPDIR:-/tmp}/lorvane-tarnwick-cups.XXXXXXXX")
    echo "$root" >"$rootfile"
    out=$root/out
    mkdir -p "$root"/{etc/ppd,spool/tmp,cache,state,tmp,log} "$out"
    ln -sfn "$out" "$SERVICE_RUN_DIR/cups-out"
    # Filters and the file backend run as the scheduler's own user: they must reach
    # the spool, the temporary folder and the output.
    chmod 755 "$root" "$root/etc" "$root/state"
    chmod 1777 "$root/tmp" "$root/spool/tmp"
    chmod 777 "$out"
    cat >"$root/etc/cups-files.conf" <<EOF
ServerRoot $root/etc
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/state
TempDir $root/tmp
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
Printcap $root/printcap
FileDevice Yes
SystemGroup $(id -gn)
EOF
    cat >"$root/etc/cupsd.conf" <<EOF
Listen $CUPS_SERVER
Listen $root/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
IdleExitTimeout 0
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
EOF
    rm -f "$CUPS_SERVER"
    /usr/sbin/cupsd -f -c "$root/etc/cupsd.conf" -s "$root/etc/cups-files.conf" \
        >"$SERVICE_RUN_DIR/cupsd.log" 2>&1 &
    echo $! >"$pidfile"
    wait_for cupsd running || { cat "$SERVICE_RUN_DIR/cupsd.log" "$root/log/error_log" >&2; exit 1; }
    lpadmin -h "$CUPS_SERVER" -p TESTPDF -E -v "file://$out/out.pdf" -m "$ppd"
    # The default of this scheduler only: every client here names it in CUPS_SERVER.
    lpadmin -h "$CUPS_SERVER" -d TESTPDF
    # A second queue, never the default, for jobs sent to a printer by name.
    lpadmin -h "$CUPS_SERVER" -p TESTPDF2 -E -v "file://$out/out2.pdf" -m "$ppd"
    ;;
stop)
    stop_pidfile "$pidfile" cupsd
    rm -f "$CUPS_SERVER"
    remove_root
    ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
