# Helpers for the end-to-end scripts that run the real program; source it
# after scripts/lib/xvfb.sh. Each script sets $out (the trace file) before
# use; while the program runs, $pid is its process and $err, if set, the
# file its standard error goes to, so that a failure says what became of it.

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${out:-}" ] && [ -f "$out" ]; then
        echo "--- trace (last 30 lines) ---" >&2
        tail -n 30 "$out" | cat -A >&2
    fi
    if [ -n "${pid:-}" ]; then
        if child_running "$pid"; then
            echo "--- the program still runs" >&2
        else
            echo "--- the program has ended" >&2
        fi
    fi
    if [ -n "${err:-}" ] && [ -s "$err" ]; then
        echo "--- its standard error (last 10 lines) ---" >&2
        tail -n 10 "$err" | cat -A >&2
    fi
    exit 1
}

# e2e_scratch [SIGNAL]: a scratch folder in $work, and $pid for the program
# once the script starts it. However the script exits, the program still
# running is stopped (with SIGNAL, TERM unless given), the X server too, and
# the folder removed.
e2e_scratch() {
    work=$(mktemp -d)
    pid=
    e2e_signal=${1:-TERM}
    trap e2e_clean_up EXIT
}
e2e_clean_up() {
    [ -n "$pid" ] && child_running "$pid" && kill -"$e2e_signal" "$pid"
    xvfb_stop
    rm -rf "$work"
}

# copy_sources SOURCE_DIR: the sources as they stand, edits not yet
# committed included, in $work/src.
copy_sources() {
    mkdir "$work/src"
    git -C "$1" ls-files -z --cached --others --exclude-standard |
        (cd "$1" && xargs -0 cp --parents -t "$work/src" 2>/dev/null)
    [ -f "$work/src/render/render.cpp" ] || fail "could not copy the sources from $1"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds, for at
# least SECONDS. Polls are counted, not the clock read: the wall clock may
# be stepped (a machine that sets its time some minutes after it boots),
# and a step forward would end a wait at once.
wait_for() {
    local polls=$(($1 * 50))
    shift
    until "$@"; do
        polls=$((polls - 1))
        [ "$polls" -le 0 ] && return 1
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

# The key help, byte for byte as the program writes it (tests/golden/
# help.txt, the one copy the tests keep): "projecção" is the two Latin-1
# bytes 0xE7 and 0xE3.
e2e_help_file="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/golden/help.txt"
help_bytes() { cat "$e2e_help_file"; }

# Whether file begins with the help and then "Reshape ORTHO", byte for byte.
starts_with_help() {
    local want
    want=$( (help_bytes; printf 'Reshape ORTHO\n') | od -An -tx1)
    [ "$(head -c "$( (help_bytes; printf 'Reshape ORTHO\n') | wc -c)" "$1" | od -An -tx1)" = "$want" ]
}
