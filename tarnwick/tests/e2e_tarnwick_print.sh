# With settings stored: Print Screen prints one page on the default printer, then on a
# chosen one; a second start ends at once and leaves the first running. Without a
# display, or without the toolkit's plugin for it, the program says so in one line and
# ends with status 1.
. "$(dirname "$0")/e2e_lib.sh"

for display in "" ":$((20000 + $$ % 10000))"; do
    status=0
    DISPLAY=$display timeout 30 "$TARNWICK" >/dev/null 2>"$WORK/nodisplay.log" || status=$?
    [ "$status" -eq 1 ] || fail "without a display ('$display') the status was $status"
    [ "$(wc -l <"$WORK/nodisplay.log")" -eq 1 ] &&
        grep -q 'needs a graphical session' "$WORK/nodisplay.log" ||
        fail "without a display: $(cat "$WORK/nodisplay.log")"
done

start_x
# A display, but no toolkit plugin for the platform asked for: one line too, no abort.
status=0
QT_QPA_PLATFORM=nosuch timeout 30 "$TARNWICK" >/dev/null 2>"$WORK/noplugin.log" || status=$?
[ "$status" -eq 1 ] && grep -q 'needs a graphical session: .*plugin for nosuch' "$WORK/noplugin.log" ||
    fail "without a platform plugin ($status): $(cat "$WORK/noplugin.log")"
add_queue "TWKE2E_DEF_$$"
add_queue "TWKE2E_CHO_$$"
DEFAULT_QUEUE=${QUEUES[0]}
CHOSEN_QUEUE=${QUEUES[1]}
store_settings

start_tarnwick
wait_until 30 resident_ready || fail "the resident form did not appear"

# A second start ends by itself, at once, opening nothing.
timeout 30 "$TARNWICK" || fail "the second start did not end cleanly"
kill -0 "$TARNWICK_PID" || fail "the first instance ended with the second"
[ -z "$(visible_windows)" ] || fail "a window opened"

xdotool key Print
wait_for_jobs "$DEFAULT_QUEUE" 1
# Two more ticks go by: the one press stays one job.
sleep 2.5
[ "$(completed_jobs "$DEFAULT_QUEUE")" -eq 1 ] || fail "more than one job for one press"
[ "$(pending_jobs "$DEFAULT_QUEUE")" -eq 0 ] || fail "more than one job for one press"
[ "$(pdf_pages "$DEFAULT_QUEUE")" = 1 ] || fail "the job does not have exactly one page"

# Every print reloads the settings: a printer stored meanwhile takes the next job.
store_settings "PrintDevice=$CHOSEN_QUEUE"
xdotool key alt+Print
wait_for_jobs "$CHOSEN_QUEUE" 1
[ "$(pdf_pages "$CHOSEN_QUEUE")" = 1 ] || fail "the chosen printer's job does not have one page"
[ "$(completed_jobs "$DEFAULT_QUEUE")" -eq 1 ] || fail "the default printer got the job too"

kill -0 "$TARNWICK_PID" || fail "tarnwick ended"

# At scale 2, an area from the corner with no size stored is the whole screen, not a quarter.
kill "$TARNWICK_PID"
store_settings PrintSpecific=1 "PrintDevice=$CHOSEN_QUEUE"
sed -i '/^[WH]_Coord=/d' "$XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf"
wait_until 30 program_ended || fail "tarnwick did not end"
QT_SCALE_FACTOR=2 start_tarnwick
wait_until 30 resident_ready || fail "the resident form did not appear at scale 2"
xdotool key Print
wait_for_jobs "$CHOSEN_QUEUE" 2
printed=$(pdfimages -list "$WORK/out/$CHOSEN_QUEUE.pdf" | awk 'NR == 3 { print $4 "x" $5 }')
[ "$printed" = 1280x1024 ] || fail "at scale 2 the default area printed $printed of 1280x1024"
echo PASS
