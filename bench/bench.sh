#!/usr/bin/env bash
# Benchmark of the real program under its own Xvfb, beside a floor program
# that only clears and swaps at the same 50 Hz. Prints a table with each
# figure against its target; a measurement, so it exits 0 either way.
# Usage: bench.sh TANK FLOOR [SECONDS]
set -u
tank=${1:?usage: bench.sh TANK FLOOR [SECONDS]}
floor=${2:?usage: bench.sh TANK FLOOR [SECONDS]}
duration=${3:-10}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib.sh"

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && child_running "$pid" && kill "$pid" && wait "$pid"
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
command -v xdotool >/dev/null && command -v xwd >/dev/null ||
    { echo "bench: needs xdotool and xwd (make bench installs them)" >&2; exit 1; }
xvfb_start || exit 1

ticks() { grep -c '^Velocidade' "$work/trace"; }

# The program: first frame, then ticks, CPU and memory over the run.
start=$(now)
"$tank" >"$work/trace" 2>/dev/null &
pid=$!
first_frame=$(time_to_pixel "$start" Exemplo 150 240 808080) ||
    { echo "bench: the ground never appeared" >&2; exit 1; }
sleep "$(awk -v s="$(elapsed_since "$start")" 'BEGIN { d = 1 - s; print (d > 0 ? d : 0) }')"
rss_start=$(rss_kib "$pid")
t0=$(now); n0=$(ticks); c0=$(cpu_ns "$pid")
sleep "$duration"
seconds=$(elapsed_since "$t0"); n1=$(ticks); c1=$(cpu_ns "$pid")
rss_end=$(rss_kib "$pid")
kill "$pid"; wait "$pid" 2>/dev/null; pid=

# The floor, measured the same way.
fstart=$(now)
"$floor" >/dev/null 2>&1 &
pid=$!
floor_first=$(time_to_pixel "$fstart" Floor 150 240 808080) ||
    { echo "bench: the floor never drew" >&2; exit 1; }
sleep 1
f0=$(cpu_ns "$pid"); ft0=$(now)
sleep "$duration"
fseconds=$(elapsed_since "$ft0"); f1=$(cpu_ns "$pid")
kill "$pid"; wait "$pid" 2>/dev/null; pid=

awk -v n=$((n1 - n0)) -v s="$seconds" -v c=$((c1 - c0)) -v fc=$((f1 - f0)) \
    -v fs="$fseconds" -v ff="$first_frame" -v fff="$floor_first" \
    -v r1="$rss_start" -v r2="$rss_end" -v d="$duration" '
function verdict(ok) { return ok ? "ok" : "MISSED" }
BEGIN {
    rate = n / s
    cpu = c / 1e9 / s
    floor = fc / 1e9 / fs
    ratio = floor > 0 ? cpu / floor : 0
    printf "%-36s %12s %14s %8s\n", "measure", "value", "target", "result"
    printf "%-36s %12.1f %14s %8s\n", "tick rate over " d " s (lines/s)", rate, ">= 49.0", verdict(rate >= 49.0)
    printf "%-36s %12.3f %14s %8s\n", "CPU s per s, tank", cpu, "", ""
    printf "%-36s %12.3f %14s %8s\n", "CPU s per s, clear-and-swap floor", floor, "", ""
    printf "%-36s %12.2f %14s %8s\n", "tank / floor", ratio, "<= 2.5", verdict(floor > 0 && ratio <= 2.5)
    printf "%-36s %12.3f %14s %8s\n", "start to first frame (s)", ff, "< 0.3", verdict(ff < 0.3)
    printf "%-36s %12.3f %14s %8s\n", "start to first frame, floor (s)", fff, "", ""
    printf "%-36s %12d %14s %8s\n", "resident memory at 1 s (KiB)", r1, "", ""
    printf "%-36s %12d %14s %8s\n", "resident memory at the end (KiB)", r2, "no growth", verdict(r2 <= r1)
}'
