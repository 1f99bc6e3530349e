# Helpers for the end-to-end scripts that run the real program; source it
# after scripts/lib/xvfb.sh. Each script sets $out (the trace file) before
# use.

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

# The window of the program, found by its title.
tank_window() { xdotool search --sync --name '^Exemplo$' | head -n1; }
