# Actions by command: --print against the running instance gives one job, --configure
# shows its dialog, --quit ends it; with no instance --print prints one page itself and
# --quit does nothing. --help lists the actions.
. "$(dirname "$0")/e2e_lib.sh"

"$TARNWICK" --help | grep -q -- '--print-window' || fail "--help does not list the actions"
status=0 && { "$TARNWICK" --no-such-action 2>"$WORK/bogus.log" || status=$?; }
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
grep -q '^tarnwick: unknown option --no-such-action$' "$WORK/bogus.log" ||
    fail "an unknown option said: $(cat "$WORK/bogus.log")"
timeout 30 "$TARNWICK" --quit || fail "--quit without an instance failed"

start_x
add_queue "TWKE2E_CMD_$$"
QUEUE=${QUEUES[0]}
store_settings

start_tarnwick
wait_until 30 resident_ready || fail "the resident form did not appear"
wait_until 30 test -S "$XDG_RUNTIME_DIR/Tarnwick32.socket" || fail "no command socket"

timeout 30 "$TARNWICK" --print || fail "--print to the instance failed"
wait_for_jobs "$QUEUE" 1
sleep 2.5
[ "$(completed_jobs "$QUEUE")" -eq 1 ] || fail "more than one job for one command"

timeout 30 "$TARNWICK" --configure || fail "--configure failed"
wait_until 30 configuration_window || fail "--configure did not show the dialog"

timeout 30 "$TARNWICK" --quit || fail "--quit failed"
wait_until 30 program_ended || fail "--quit did not end the instance"

# No instance: the command prints by itself and says so with its status.
timeout 60 "$TARNWICK" --print 2>"$WORK/once.log" || fail "--print alone: $(cat "$WORK/once.log")"
wait_for_jobs "$QUEUE" 2
[ "$(pdf_pages "$QUEUE")" = 1 ] || fail "the job does not have exactly one page"

# Before the first OK only the dialog is there: a print by command says it printed nothing.
rm -rf "${XDG_CONFIG_HOME:?}/Tarnwick32"
start_tarnwick
wait_until 30 configuration_window || fail "the first start shows no dialog"
status=0 && { timeout 30 "$TARNWICK" --print 2>"$WORK/first.log" || status=$?; }
[ "$status" -eq 1 ] || fail "--print before the first OK ended with status $status"
grep -q "Nothing was printed" "$WORK/first.log" || fail "--print before the first OK said nothing"
timeout 30 "$TARNWICK" --quit || fail "--quit of the first-start dialog failed"
wait_until 30 program_ended || fail "--quit did not end the first-start dialog"
echo PASS
