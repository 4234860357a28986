# Shared by the service scripts: where each server keeps its socket and pid file.
set -u
: "${SERVICE_RUN_DIR:?SERVICE_RUN_DIR must be set}"
mkdir -p "$SERVICE_RUN_DIR" "$SERVICE_RUN_DIR/runtime"
chmod 700 "$SERVICE_RUN_DIR/runtime"

stop_pidfile() {
    local pidfile=$1
    if [ -f "$pidfile" ]; then
        local pid
        pid=$(cat "$pidfile")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$pidfile"
    fi
}

wait_for() {
    local what=$1; shift
    for _ in $(seq 100); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    echo "$what did not come up" >&2
    return 1
}
