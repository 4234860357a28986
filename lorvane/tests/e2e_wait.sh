# Shared by lorvane's end-to-end scripts (sourced, not a test of its own).

# until_true SECONDS COMMAND...: retries COMMAND every 0.1 s for up to SECONDS.
until_true() {
    local tries=$(($1 * 10)); shift
    for _ in $(seq "$tries"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
