#!/usr/bin/env bash
# Headless demo: runs the real program in a private Xvfb, plays a scripted
# drive that shows every control, and saves PNG screenshots of the window
# at the telling moments, an animation of the whole drive (drive.gif) and
# the whole console trace.
# Usage: demo.sh TANK OUTDIR [--short]
#   --short  a quicker drive with fewer shots, used by the tests
set -u
tank=${1:?usage: demo.sh TANK OUTDIR [--short]}
outdir=${2:?usage: demo.sh TANK OUTDIR [--short]}
short=${3:-}
here=$(dirname "$0")
. "$here/lib/xvfb.sh"

for tool in xdotool xwd convert; do
    command -v "$tool" >/dev/null ||
        { echo "demo: $tool is missing (make run installs it)" >&2; exit 1; }
done

mkdir -p "$outdir"
rm -f "$outdir"/*.png "$outdir/trace.txt" "$outdir/drive.gif"
frames=$(mktemp -d)
trace="$outdir/trace.txt"
pid=
recorder=
cleanup() {
    [ -n "$recorder" ] && child_running "$recorder" && kill "$recorder" && wait "$recorder"
    [ -n "$pid" ] && child_running "$pid" && kill "$pid" && wait "$pid"
    xvfb_stop
    rm -rf "$frames"
}
trap cleanup EXIT

xvfb_start || exit 1
"$tank" >"$trace" 2>"$outdir/stderr.txt" &
pid=$!

# Wait for the window and its first reshape, then aim the keyboard at it.
wid=
for _ in $(seq 500); do
    wid=$(xdotool search --name '^Exemplo$' 2>/dev/null | head -n1)
    [ -n "$wid" ] && grep -q '^Reshape ORTHO$' "$trace" && break
    if ! child_running "$pid"; then
        echo "demo: the program ended at start:" >&2
        cat "$outdir/stderr.txt" >&2
        exit 1
    fi
    sleep 0.02
done
[ -n "$wid" ] || { echo "demo: no window appeared" >&2; exit 1; }
xdotool mousemove --window "$wid" 320 240
sleep 0.2

shots=0
ticks() { grep -ac '^Velocidade' "$trace"; }
# Waits for three more ticks, so the last key has been seen and its frame
# drawn, then saves the window as a PNG.
shot() {
    shots=$((shots + 1))
    local file want
    file=$(printf '%s/%02d-%s.png' "$outdir" "$shots" "$1")
    want=$(($(ticks) + 3))
    for _ in $(seq 250); do
        [ "$(ticks)" -ge "$want" ] && break
        sleep 0.02
    done
    xwd -id "$wid" -silent | convert xwd:- "$file"
}
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

# The last speed the trace shows.
speed() { grep -a '^Velocidade' "$trace" | tail -n1 | awk '{ print $2 + 0 }'; }
# hold_until KEY TEST LIMIT: holds KEY until the speed passes TEST against
# LIMIT (for example ge 0.5), watching the trace; at most 5 s.
hold_until() {
    xdotool keydown "$1"
    for _ in $(seq 250); do
        awk -v v="$(speed)" -v l="$3" -v t="$2" \
            'BEGIN { exit !((t == "ge" && v >= l) || (t == "le" && v <= l)) }' && break
        sleep 0.02
    done
    xdotool keyup "$1"
}

# The animation: the window about every 100 ms while the drive plays, kept
# as raw window dumps and assembled at the end, so the capture stays quick.
# A dump takes a while on a busy machine, so the pause between them is short
# and the animation's frame delay is set from the real pace afterwards.
record() {
    local n=0 start=$EPOCHREALTIME
    while [ ! -e "$frames/stop" ]; do
        n=$((n + 1))
        xwd -id "$wid" -silent >"$(printf '%s/%04d.xwd' "$frames" "$n")" 2>/dev/null || break
        sleep 0.04
    done
    awk -v a="$start" -v b="$EPOCHREALTIME" -v n="$n" \
        'BEGIN { printf "%d\n", (b - a) * 100 / n + 0.5 }' >"$frames/delay"
}
record &
recorder=$!

shot start
if [ "$short" = --short ]; then
    hold Up 0.6
    shot moved
    xdotool key i
    xdotool key l
    shot lines
    xdotool key f
    shot fill
else
    hold Left 0.15 # the wheels turn, and stay turned while standing
    # Drive off: the tank turns about its rear axle while the wheels centre.
    hold_until Up ge 0.5
    shot driving
    hold_until Down le -0.5 # brake, then reverse
    sleep 0.3
    shot reversing
    hold_until Up ge 0 # and stop
    hold Right 0.3
    hold z 1.0 # turret to the left
    hold q 1.0 # raise the cannon
    shot turret-and-cannon
    hold a 0.4 # lower it a little
    xdotool key o # perspective
    shot perspective
    xdotool key o # and back to orthographic
    xdotool key l
    shot lines
    xdotool key p
    shot points
    xdotool key f
    xdotool key i # back to the start
    shot reset
fi
touch "$frames/stop"
wait "$recorder"
recorder=
xdotool key Escape

wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] || { echo "demo: the program did not end on ESC" >&2; exit 1; }
pid=
[ "$status" -eq 1 ] || { echo "demo: the program ended with status $status, not 1" >&2; exit 1; }

# Flat colours and small changes between frames: a GIF of only what changed
# stays small at full size.
convert -delay "$(cat "$frames/delay")" -loop 0 "$frames"/*.xwd -layers Optimize "$outdir/drive.gif" ||
    { echo "demo: could not assemble the animation" >&2; exit 1; }

echo "demo: $shots screenshots, an animation and the console trace are in $outdir/:"
ls "$outdir" | sed 's/^/  /'
