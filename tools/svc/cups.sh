#!/bin/bash
# Starts or stops a local CUPS scheduler with a queue that prints to a PDF file
# (TESTPDF, the default, out.pdf) and a second one (TESTPDF2, out2.pdf).
# A scheduler that was already running is left alone; only the queues are added.
. "$(dirname "$0")/common.sh"
pidfile=$SERVICE_RUN_DIR/cups.pid
out=$SERVICE_RUN_DIR/cups-out
case ${1:-} in
start)
    mkdir -p "$out"
    chmod 777 "$out"
    if ! grep -q '^FileDevice Yes' /etc/cups/cups-files.conf 2>/dev/null; then
        echo 'FileDevice Yes' >>/etc/cups/cups-files.conf
        pkill -x cupsd 2>/dev/null || true
        sleep 0.5
    fi
    if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
        mkdir -p /run/cups
        /usr/sbin/cupsd -f >"$SERVICE_RUN_DIR/cupsd.log" 2>&1 &
        echo $! >"$pidfile"
        wait_for cupsd sh -c "lpstat -r | grep -q 'is running'"
    fi
    lpadmin -p TESTPDF -E -v "file://$out/out.pdf" \
        -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
    lpadmin -d TESTPDF
    # A second queue, never the default, for jobs sent to a printer by name.
    lpadmin -p TESTPDF2 -E -v "file://$out/out2.pdf" \
        -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
    ;;
stop)
    lpadmin -x TESTPDF 2>/dev/null || true
    lpadmin -x TESTPDF2 2>/dev/null || true
    stop_pidfile "$pidfile"
    ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
