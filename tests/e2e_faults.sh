#!/usr/bin/env bash
# End to end: how the real program ends when the world around it goes away.
#   1. the window manager closes the window: status 0, the trace complete;
#   2. the X server dies: a prompt non-zero exit with the toolkit's message;
#   3. the reader of standard output goes away: the program ends like any
#      filter, whether or not it was started with SIGPIPE ignored;
#   4. started with its standard output closed ("tank >&-"): it runs, and ESC ends it.
set -u
tank=${1:?usage: e2e_faults.sh path/to/tank path/to/close_window}
close_window=${2:?usage: e2e_faults.sh path/to/tank path/to/close_window}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools xdotool

e2e_scratch KILL

# Every line a whole trace line or help text, and the file ends in a newline.
trace_is_whole() {
    [ "$(tail -c1 "$out" | od -An -c | tr -d ' ')" = '\n' ] || return 1
    ! sed -n '19,$p' "$out" | grep -avE '^(Reshape ORTHO|Velocidade -?[0-9]+\.[0-9]{2} Direccao -?[0-9]+\.[0-9]{2})$'
}

echo "1. window closed by the window manager"
out="$work/close.trace"
xvfb_start || exit 1
"$tank" >"$out" 2>"$work/close.err" &
pid=$!
wait_for 10 has_line "Reshape ORTHO" || fail "the program did not start"
wid=$(tank_window)
wait_for 10 ticks_reach 5 || fail "no ticks"
"$close_window" "$wid" || fail "could not send WM_DELETE_WINDOW"
wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] || fail "still running after its window was closed"
pid=
[ "$status" -eq 0 ] || fail "exit status $status after the window was closed, expected 0"
trace_is_whole || fail "trace cut short"
xvfb_stop

echo "2. X server gone"
out="$work/xgone.trace"
xvfb_start || exit 1
"$tank" >"$out" 2>"$work/xgone.err" &
pid=$!
wait_for 10 ticks_reach 5 || fail "no ticks"
# SIGTERM, not SIGKILL: the server shuts down and removes its lock file and
# socket, so no other test's server can trip over a stale lock for the same
# display number. For the program the connection is gone either way.
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID= # gone: xvfb_stop must not signal the number again
wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] || fail "still running 5 s after the X server died"
pid=
[ "$status" -ne 0 ] || fail "exit status 0 after losing the X server"
grep -qiE 'X connection|XIO|display' "$work/xgone.err" ||
    fail "no message from the toolkit: $(cat "$work/xgone.err")"
trace_is_whole || fail "trace cut short"
xvfb_stop

echo "3. reader of standard output gone"
xvfb_start || exit 1
for sigpipe in default ignored; do
    fifo="$work/fifo.$sigpipe"
    mkfifo "$fifo"
    if [ "$sigpipe" = ignored ]; then
        (trap '' PIPE; exec "$tank" >"$fifo" 2>/dev/null) &
    else
        "$tank" >"$fifo" 2>/dev/null &
    fi
    pid=$!
    head -n 3 <"$fifo" >"$work/head.out"
    wait_exit "$pid" 5
    status=$EXIT_STATUS
    [ -n "$status" ] || fail "SIGPIPE $sigpipe: still running after its reader left"
    pid=
    [ "$status" -eq $((128 + 13)) ] || fail "SIGPIPE $sigpipe: status $status, expected death by SIGPIPE"
    [ "$(wc -l <"$work/head.out")" -eq 3 ] || fail "SIGPIPE $sigpipe: reader got no lines"
done

xvfb_stop

echo "4. started with its standard output closed"
xvfb_start || exit 1
# Closed, the first thing opened (the X connection) would take descriptor 1
# and the help would be written into the X protocol stream. The program
# runs, its trace going nowhere, and ESC still ends it.
"$tank" >&- &
pid=$!
wait_for 10 xdotool search --name '^Exemplo$' || fail "no window with its standard streams closed"
wid=$(tank_window)
sleep 0.5
xdotool mousemove --window "$wid" 320 240 key Escape
wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] || fail "ESC did not end a program started with its standard output closed"
pid=
[ "$status" -eq 1 ] || fail "exit status $status after ESC with its standard streams closed, expected 1"
xvfb_stop

echo "e2e faults: ok"
