#!/usr/bin/env bash
# Soak test: the real program under its own Xvfb, fed seeded random key
# events for a given time. Reports the benchmark's figures plus the number
# of key events sent; fails on a crash, a stalled trace or memory growth
# over 1 MiB. D (trace off would hide stalls) and ESC (ends the program)
# are left out of the random keys; ESC ends the run and must exit with 1.
# Usage: soak.sh TANK [SECONDS] [SEED]
set -u
tank=${1:?usage: soak.sh TANK [SECONDS] [SEED]}
duration=${2:-600}
RANDOM=${3:-20261208}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib.sh"

work=$(mktemp -d)
out="$work/trace"
pid=
held=()
cleanup() {
    [ -n "$pid" ] && child_running "$pid" && kill "$pid" && wait "$pid"
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "soak: FAIL: $*" >&2
    tail -n 20 "$out" >&2
    exit 1
}
command -v xdotool >/dev/null && command -v xwd >/dev/null ||
    { echo "soak: needs xdotool and xwd (make soak installs them)" >&2; exit 1; }
xvfb_start || exit 1

ticks() { grep -c '^Velocidade' "$out"; }
alive() { child_running "$pid"; }

keys=(Up Down Left Right Up Down Left Right q Q a A z Z x X i I o O f F l L p P h H
      w 7 space Return F1 F5 Home Page_Up ccedilla)

start=$(now)
"$tank" >"$out" 2>"$work/stderr" &
pid=$!
first_frame=$(time_to_pixel "$start" Exemplo 150 240 808080) || fail "the ground never appeared"
wid=$(xdotool search --name '^Exemplo$' | head -n1)
xdotool mousemove --window "$wid" 320 240

events=0
baseline=
t0=$(now); n0=$(ticks); c0=$(cpu_ns "$pid")
last_ticks=$n0
last_check=$SECONDS
end=$((SECONDS + duration))
while [ "$SECONDS" -lt "$end" ]; do
    alive || fail "the program died"
    key=${keys[RANDOM % ${#keys[@]}]}
    case $((RANDOM % 3)) in
        0) xdotool key "$key"; events=$((events + 2)) ;;
        1) xdotool keydown "$key"; held+=("$key"); events=$((events + 1)) ;;
        2) if [ ${#held[@]} -gt 0 ]; then
               xdotool keyup "${held[-1]}"; unset 'held[-1]'; events=$((events + 1))
           fi ;;
    esac
    sleep "0.0$((RANDOM % 10))"
    if [ "$SECONDS" -ge $((last_check + 2)) ]; then
        n=$(ticks)
        [ "$n" -gt "$last_ticks" ] || fail "the trace stalled"
        last_ticks=$n
        last_check=$SECONDS
        # Memory baseline once warm: every mode and key tried for a while.
        [ -z "$baseline" ] && [ "$(awk -v s="$(elapsed_since "$t0")" 'BEGIN { print (s >= 10) }')" = 1 ] &&
            baseline=$(rss_kib "$pid")
    fi
done
for key in "${held[@]}"; do xdotool keyup "$key"; events=$((events + 1)); done
seconds=$(elapsed_since "$t0"); n1=$(ticks); c1=$(cpu_ns "$pid")
rss_end=$(rss_kib "$pid")
[ -n "$baseline" ] || baseline=$rss_end

xdotool key Escape
wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] || fail "ESC did not end the program"
pid=
[ "$status" -eq 1 ] || fail "exit status $status at the end, expected 1"

awk -v n=$((n1 - n0)) -v s="$seconds" -v c=$((c1 - c0)) -v ff="$first_frame" \
    -v r1="$baseline" -v r2="$rss_end" -v ev="$events" '
BEGIN {
    printf "%-36s %12s\n", "measure", "value"
    printf "%-36s %12.0f\n", "run (s)", s
    printf "%-36s %12d\n", "key events sent", ev
    printf "%-36s %12.1f\n", "tick rate (lines/s)", n / s
    printf "%-36s %12.3f\n", "CPU s per s", c / 1e9 / s
    printf "%-36s %12.3f\n", "start to first frame (s)", ff
    printf "%-36s %12d\n", "resident memory, warm (KiB)", r1
    printf "%-36s %12d\n", "resident memory at the end (KiB)", r2
    printf "%-36s %12d\n", "growth (KiB, limit 1024)", r2 - r1
    exit (r2 - r1 > 1024)
}' || fail "memory grew by more than 1 MiB"
echo "soak: ok"
