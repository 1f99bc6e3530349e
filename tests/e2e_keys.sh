#!/usr/bin/env bash
# End to end: the real program in its own Xvfb, driven by real X key events.
# Holds the up arrow, releases it, presses D twice and ESC, then checks the
# shape of the trace and the exit status. Waits on conditions, never on
# exact tick counts.
set -u
tank=${1:?usage: e2e_keys.sh path/to/tank}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools xdotool

e2e_scratch
out="$work/trace"

# The server's key repeat is pushed out of reach: a repeat is a release and
# a press, and on a loaded machine a tick can fall between the two and let
# the drag act, which would make the speed trace depend on timing.
XVFB_ARGS="-ardelay 60000" xvfb_start || exit 1
err="$work/stderr"
"$tank" >"$out" 2>"$err" &
pid=$!

wait_for 10 has_line "Reshape ORTHO" || fail "no 'Reshape ORTHO' line"
wid=$(tank_window)
[ -n "$wid" ] || fail "no window named Exemplo"
# Without a window manager the keyboard follows the pointer.
xdotool mousemove --window "$wid" 320 240

xdotool keydown Up
wait_for 10 has_line "Velocidade 0.52 Direccao 0.00" || { xdotool keyup Up; fail "speed never reached 0.52"; }
# Hold on at the top speed for a while, counted in ticks traced.
wait_for 10 ticks_reach $(($(ticks) + 40)) || fail "ticks stalled while holding"
xdotool keyup Up
# Released: the drag brings the speed down by 0.01 a tick.
slowed() {
    awk '/^Largou a tecla especial 101$/ { after = 1; next }
         /^Carregou na tecla especial 101$/ { after = 0 }
         after && /^Velocidade / && $2 + 0 < 0.45 { found = 1 }
         END { exit !found }' "$out"
}
wait_for 10 slowed || fail "no drag after the release"

xdotool key d
wait_for 10 has_line "DEBUG is OFF" || fail "no 'DEBUG is OFF'"
sleep 0.2 # the trace is off: nothing should be printed meanwhile
xdotool key d
wait_for 10 has_line "Largou a tecla d" || fail "no release echo for d"

xdotool key Escape
wait_exit "$pid" 5
status=$EXIT_STATUS
[ -n "$status" ] && pid=
[ -n "$status" ] || fail "ESC did not end the program"
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"

# The help byte for byte, then the first reshape.
starts_with_help "$out" || fail "the trace does not begin with the help's bytes and then 'Reshape ORTHO'"

# The speed, read from the trace: zero until the up arrow, then rising by
# 0.04 a tick to 0.52 and staying there while held; after the release it
# falls 0.01 a tick (checked until D turns the trace off).
[ "$(count_lines "Carregou na tecla especial 101")" -eq 1 ] || fail "the up arrow was pressed more than once"
[ "$(count_lines "Largou a tecla especial 101")" -eq 1 ] || fail "the up arrow was released more than once"
awk '
    function bad(msg, line) { print "speed trace: " msg " at line " line; exit 1 }
    /^Carregou na tecla especial 101$/ { pressed = NR }
    /^Largou a tecla especial 101$/ { released = NR }
    /^DEBUG is OFF$/ { if (!traceOff) traceOff = NR }
    /^Velocidade / { speeds[NR] = $2 + 0 }
    END {
        prev = 0; top = 0
        for (i = 1; i <= NR; i++) {
            if (!(i in speeds)) continue
            if (traceOff && i > traceOff) break  # untraced ticks from here on
            v = speeds[i]
            d = v - prev
            if (i < pressed) {
                if (v != 0) bad("moving before the key", i)
            } else if (i < released) {
                if (top && v != 0.52) bad("left 0.52 while held", i)
                if (!top && !(d > 0.039 && d < 0.041))
                    bad("step " d " while accelerating", i)
                if (v == 0.52) top = 1
            } else if (prev > 0) {
                if (!(d < -0.009 && d > -0.011)) bad("drag step " d, i)
            }
            prev = v
        }
        if (!top) bad("never reached 0.52", NR)
    }' "$out" || fail "speed trace has the wrong shape"

# D twice: OFF alone with nothing after it until ON, then the echo of d.
off=$(grep -naxF "DEBUG is OFF" "$out" | cut -d: -f1)
on=$(grep -naxF "DEBUG is ON" "$out" | cut -d: -f1)
[ -n "$off" ] && [ -n "$on" ] || fail "missing DEBUG lines"
[ "$on" -eq $((off + 1)) ] || fail "lines printed while the trace was off"
[ "$(sed -n "$((on + 1))p" "$out")" = "Carregou na tecla d" ] || fail "no echo right after DEBUG is ON"
[ "$(count_lines "Carregou na tecla d")" -eq 1 ] || fail "the first d was echoed"
[ "$(count_lines "Largou a tecla d")" -eq 1 ] || fail "release of d echoed with the trace off"
# ESC prints nothing.
! grep -qa $'\x1b' "$out" || fail "ESC was echoed"

echo "e2e keyboard: ok ($(ticks) ticks traced)"
