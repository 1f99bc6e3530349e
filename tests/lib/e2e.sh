# Helpers for the end-to-end scripts that run the real program; source it
# after scripts/lib/xvfb.sh. Each script sets $out (the trace file) before use.

E2E_PID=

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${out:-}" ] && [ -f "$out" ]; then
        echo "--- trace (last 30 lines) ---" >&2
        tail -n 30 "$out" | cat -A >&2
    fi
    exit 1
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.02
    done
}

has_line() { grep -qaxF -- "$1" "$out"; }
count_lines() { grep -caxF -- "$1" "$out"; }
ticks() { grep -ac '^Velocidade' "$out"; }
ticks_reach() { [ "$(ticks)" -ge "$1" ]; }

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            fail "$tool is not installed (make test installs it)"
    done
}

# wait_exit PID SECONDS: waits for a background child of this shell and
# sets EXIT_STATUS to its status, or to nothing if it is still running when
# the time is up. (Not in a subshell: only the parent can reap the child.)
wait_exit() {
    local pid=$1 i
    EXIT_STATUS=
    for i in $(seq $(($2 * 50))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            EXIT_STATUS=$?
            return
        fi
        sleep 0.02
    done
}

# The window of the program, found by its title.
tank_window() { xdotool search --sync --name '^Exemplo$' | head -n1; }
