#!/bin/bash
# Starts or stops a private CUPS scheduler for this build tree, with a queue that
# prints to a PDF file (TESTPDF, its default, out.pdf) and a second one (TESTPDF2,
# out2.pdf). Its configuration, spool and logs live under $SERVICE_RUN_DIR/cups and
# it listens only on its own socket, which the tests reach through $CUPS_SERVER: the
# machine's own scheduler, its configuration and its default printer stay untouched.
. "$(dirname "$0")/common.sh"
: "${CUPS_SERVER:?CUPS_SERVER must be set}"
root=$SERVICE_RUN_DIR/cups
pidfile=$SERVICE_RUN_DIR/cups.pid
out=$SERVICE_RUN_DIR/cups-out
ppd=lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd

running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

case ${1:-} in
start)
    stop_pidfile "$pidfile" cupsd
    rm -rf "$root"
    mkdir -p "$root"/{etc/ppd,spool/tmp,cache,state,tmp,log} "$out"
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
SystemGroup root
EOF
    cat >"$root/etc/cupsd.conf" <<EOF
Listen $CUPS_SERVER
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
    ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
