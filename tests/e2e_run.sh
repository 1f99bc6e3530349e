#!/usr/bin/env bash
# "make run" as a user meets it: with a display, ESC ends it quietly with
# status 0; with a display that cannot be opened it fails.
#   e2e_run.sh SOURCE_DIR BUILD_DIR
set -u
src=${1:?usage: e2e_run.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: e2e_run.sh SOURCE_DIR BUILD_DIR}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools xdotool make script

e2e_scratch
out="$work/make-output"
xvfb_start || exit 1

make -C "$src" run BUILD_DIR="$build" >"$out" 2>&1 &
pid=$!
wait_for 120 has_line "Reshape ORTHO" || fail "the program did not start under make run"
wid=$(tank_window)
[ -n "$wid" ] || fail "no window named Exemplo"
xdotool mousemove --window "$wid" 320 240 key Escape
wait_exit "$pid" 10
[ -n "$EXIT_STATUS" ] || fail "make run did not end after ESC"
[ "$EXIT_STATUS" -eq 0 ] || fail "make run ended with status $EXIT_STATUS after ESC"
grep -q "Error" "$out" && fail "make run said 'Error' after ESC"

# In a UTF-8 terminal (a pseudo-terminal, as script gives) the help reads
# "projecção", the two letters as UTF-8; the trace the program writes
# keeps its Latin-1 bytes (e2e_keys.sh compares them).
pty_out="$work/terminal"
LANG=C.UTF-8 LC_ALL=C.UTF-8 script -qfec "make -C '$src' run BUILD_DIR='$build'" "$pty_out" \
    </dev/null >/dev/null 2>&1 &
pid=$!
shown() { grep -qa "Reshape ORTHO" "$pty_out"; }
wait_for 60 shown || fail "the program did not start under make run in a terminal"
xdotool mousemove --window "$(tank_window)" 320 240 key Escape
wait_exit "$pid" 10
[ -n "$EXIT_STATUS" ] || fail "make run in a terminal did not end after ESC"
LC_ALL=C grep -qa $'o,O - Alterna entre projec\xc3\xa7\xc3\xa3o Ortografica e Perspectiva\r$' "$pty_out" ||
    fail "a UTF-8 terminal did not show \"projecção\": $(LC_ALL=C grep -a 'Alterna' "$pty_out" | od -c | head -4)"
! LC_ALL=C grep -qa $'[\xe7\xe3]' "$pty_out" || fail "Latin-1 bytes reached the UTF-8 terminal"

# A display that does not exist: freeglut says so and make fails.
DISPLAY=:4097 make -C "$src" run BUILD_DIR="$build" >"$out" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "make run succeeded without a display it can open"
grep -q "failed to open display" "$out" || fail "freeglut's message did not reach the user"
echo "make run: ESC gives 0, no display gives $status"
