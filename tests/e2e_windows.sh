#!/usr/bin/env bash
# The Windows program (make windows) under Wine beside the Linux program,
# in one private X server with key repeat pushed out of reach, each driven
# by the same real X key events:
#   - the trace byte for byte: the help, and a scripted drive whose every
#     event waits for the program to settle, so that only how many identical
#     steps fall between two events depends on timing; runs of identical
#     lines are counted as one on both sides, every byte else must match
#     (a carriage return before a newline differs on every line);
#   - ESC's exit status 1;
#   - the start frame against the desktop's reference frame;
#   - "tank.exe | head" ends, as "tank | head" does;
#   - tank.exe imports only DLLs that come with Windows.
# Run under scripts/windows/wine.sh:
#   e2e_windows.sh TANK_EXE LINUX_TANK GOLDEN_DIR
set -u
exe=${1:?usage: e2e_windows.sh TANK_EXE LINUX_TANK GOLDEN_DIR}
linux=${2:?usage: e2e_windows.sh TANK_EXE LINUX_TANK GOLDEN_DIR}
golden=${3:?usage: e2e_windows.sh TANK_EXE LINUX_TANK GOLDEN_DIR}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools wine xdotool xwd convert compare x86_64-w64-mingw32-objdump
[ -f "$exe" ] || fail "$exe is missing: make windows builds it"

e2e_scratch

echo "1. the DLLs tank.exe needs"
system_dlls='^(ADVAPI32|GDI32|GLU32|KERNEL32|msvcrt|OPENGL32|USER32|WINMM)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')
others=$(echo "$dlls" | grep -viE "$system_dlls" || true)
[ -z "$others" ] || fail "tank.exe needs DLLs Windows does not have: $others"
echo "   $(echo "$dlls" | tr '\n' ' ')"

XVFB_ARGS="-ardelay 60000" xvfb_start || exit 1

# Waits until the trace shows two more steps: whatever came last has been
# acted on, and a step line follows it.
settle() {
    local n
    n=$(ticks)
    wait_for 10 ticks_reach $((n + 2)) || fail "$name: no steps after $1"
}
# The last line is exactly $1.
last_line_is() { [ "$(tail -n 1 "$out")" = "$1" ]; }

# drive NAME PROGRAM...: starts it, keeps its trace in $work/NAME.trace,
# drives it and leaves its exit status in $work/NAME.status.
drive() {
    name=$1
    shift
    out="$work/$name.trace"
    err="$work/$name.err"
    "$@" >"$out" 2>"$err" &
    pid=$!
    wait_for 60 grep -qa "Reshape ORTHO" "$out" || fail "$name did not start"
    starts_with_help "$out" || fail "$name: the trace does not begin with the help's bytes and then 'Reshape ORTHO'"
    wid=$(tank_window)
    [ -n "$wid" ] || fail "$name: no window named Exemplo"
    # Without a window manager the keyboard follows the pointer.
    xdotool mousemove --window "$wid" 320 240
    settle "the start"
    xwd -id "$wid" -silent | convert xwd:- "$work/$name-start.png"

    xdotool keydown Up
    wait_for 10 has_line "Velocidade 0.52 Direccao 0.00" || { xdotool keyup Up; fail "$name: never reached 0.52"; }
    settle "0.52"
    xdotool keyup Up
    wait_for 10 has_line "Largou a tecla especial 101" || fail "$name: no release of the up arrow"
    wait_for 20 last_line_is "Velocidade 0.00 Direccao 0.00" || fail "$name: the drag never stopped the tank"
    settle "the stop"
    # At rest, what the keys do shows only in their echoes, the reshapes
    # and the help. Each press and release settles, since a step may or may
    # not fall between the two of a quick tap.
    local key
    for key in Left z q a o o l p f i h; do
        xdotool keydown "$key"
        settle "$key pressed"
        xdotool keyup "$key"
        settle "$key released"
    done
    # The trace off: nothing is written, so there are no steps to wait for.
    xdotool keydown d
    wait_for 10 has_line "DEBUG is OFF" || fail "$name: D did not turn the trace off"
    xdotool keyup d
    sleep 0.3
    xdotool keydown d
    wait_for 10 has_line "Carregou na tecla d" || fail "$name: D did not turn the trace on"
    settle "d pressed"
    xdotool keyup d
    settle "d released"
    xdotool key Escape
    wait_exit "$pid" 10
    [ -n "$EXIT_STATUS" ] || fail "$name: ESC did not end it"
    pid=
    echo "$EXIT_STATUS" >"$work/$name.status"
}

echo "2. the same drive, on Linux and on Windows"
drive linux "$linux"
drive windows wine "$exe"
out="$work/windows.trace"
uniq "$work/linux.trace" >"$work/linux.lines"
uniq "$work/windows.trace" >"$work/windows.lines"
if ! cmp -s "$work/linux.lines" "$work/windows.lines"; then
    echo "--- the traces differ (runs of identical lines counted once; a ^M is a carriage return):" >&2
    diff <(cat -A "$work/linux.lines") <(cat -A "$work/windows.lines") | head -20 >&2
    fail "the Windows trace is not the Linux trace"
fi
echo "   $(wc -l <"$work/windows.trace") lines, $(wc -l <"$work/windows.lines") once runs are counted once: the same bytes"
[ "$(cat "$work/windows.status")" = 1 ] || fail "ESC ended tank.exe with status $(cat "$work/windows.status"), not 1"
[ "$(cat "$work/linux.status")" = 1 ] || fail "ESC ended the Linux program with status $(cat "$work/linux.status"), not 1"

echo "3. the start frame"
differing=$(compare -metric AE "$work/windows-start.png" "$golden/start.png" "$work/start-diff.png" 2>&1 >/dev/null)
[ "$differing" = 0 ] || fail "the start frame under Wine differs from $golden/start.png in '$differing' pixels"
echo "   0 pixels off the reference"

echo "4. tank.exe | head"
(wine "$exe" 2>/dev/null | head -n 3 >"$work/head.out") &
pid=$!
wait_exit "$pid" 15
[ -n "$EXIT_STATUS" ] || { wineserver --kill; fail "tank.exe ran on after the reader of its output had gone"; }
pid=
[ "$(wc -l <"$work/head.out")" -eq 3 ] || fail "the reader got $(wc -l <"$work/head.out") lines, not 3"
echo "e2e windows: ok"
