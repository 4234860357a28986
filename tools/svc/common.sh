# Shared by the service scripts: where each server keeps its socket and pid file.
set -u
# The scheduler and its admin tools live in sbin, which an ordinary user's PATH lacks.
PATH=$PATH:/usr/sbin:/sbin
: "${SERVICE_RUN_DIR:?SERVICE_RUN_DIR must be set}"
mkdir -p "$SERVICE_RUN_DIR" "$SERVICE_RUN_DIR/runtime"
chmod 700 "$SERVICE_RUN_DIR/runtime"

# stop_pidfile PIDFILE NAME: stops the server this script started, by the process id it
# recorded, and only while that id still belongs to a NAME process: an id left from an
# earlier run may have been given to someone else's program since.
stop_pidfile() {
    local pidfile=$1 name=$2
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    rm -f "$pidfile"
    case $pid in '' | *[!0-9]*) return 0 ;; esac
    pid_is "$pid" "$name" || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do pid_is "$pid" "$name" || return 0; sleep 0.1; done
    pid_is "$pid" "$name" && kill -9 "$pid" 2>/dev/null || true
}

# pid_is PID NAME: the process is alive (not a zombie) and runs NAME.
pid_is() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ] && [[ $stat != *") Z "* ]]
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
