#!/usr/bin/env bash
# Benchmark of the real program under its own Xvfb, beside a floor program
# that only clears, swaps and prints a line at the same 50 Hz. Prints a
# table with each figure against its target, the targets being ratios to
# the floor where the floor's own cost (Mesa's software rasterizer and its
# start-up) dominates; a measurement, so it exits 0 either way.
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

# Start to first frame of a program whose window is titled TITLE: the
# median of three starts, each ended again at once.
first_frame() {
    local program=$1 title=$2 times=() i start
    for i in 1 2 3; do
        start=$(now)
        "$program" >/dev/null 2>&1 &
        pid=$!
        times+=("$(time_to_pixel "$start" "$title" 150 240 808080)") || return 1
        kill "$pid"; wait "$pid" 2>/dev/null; pid=
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}
first_frame_tank=$(first_frame "$tank" Exemplo) || { echo "bench: the ground never appeared" >&2; exit 1; }
first_frame_floor=$(first_frame "$floor" Floor) || { echo "bench: the floor never drew" >&2; exit 1; }

# The program: ticks, CPU and memory over the run, after its first second.
"$tank" >"$work/trace" 2>/dev/null &
pid=$!
sleep 1
rss_start=$(rss_kib "$pid")
t0=$(now); n0=$(ticks); c0=$(cpu_ns "$pid")
sleep "$duration"
seconds=$(elapsed_since "$t0"); n1=$(ticks); c1=$(cpu_ns "$pid")
rss_end=$(rss_kib "$pid")
kill "$pid"; wait "$pid" 2>/dev/null; pid=

# The floor, measured the same way.
"$floor" >/dev/null 2>&1 &
pid=$!
sleep 1
f0=$(cpu_ns "$pid"); ft0=$(now)
sleep "$duration"
fseconds=$(elapsed_since "$ft0"); f1=$(cpu_ns "$pid")
kill "$pid"; wait "$pid" 2>/dev/null; pid=

awk -v n=$((n1 - n0)) -v s="$seconds" -v c=$((c1 - c0)) -v fc=$((f1 - f0)) \
    -v fs="$fseconds" -v ff="$first_frame_tank" -v fff="$first_frame_floor" \
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
    printf "%-36s %12.3f %14s %8s\n", "CPU s per s, floor", floor, "", ""
    printf "%-36s %12.2f %14s %8s\n", "tank / floor", ratio, "<= 2.5", verdict(floor > 0 && ratio <= 2.5)
    printf "%-36s %12.3f %14s %8s\n", "start to first frame (s, median of 3)", ff, "", ""
    printf "%-36s %12.3f %14s %8s\n", "start to first frame, floor (s)", fff, "", ""
    printf "%-36s %12.3f %14s %8s\n", "tank - floor (s)", ff - fff, "<= 0.2", verdict(ff - fff <= 0.2)
    printf "%-36s %12d %14s %8s\n", "resident memory at 1 s (KiB)", r1, "", ""
    printf "%-36s %12d %14s %8s\n", "resident memory at the end (KiB)", r2, "no growth", verdict(r2 <= r1)
}'
