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
require_tools xdotool make

work=$(mktemp -d)
out="$work/make-output"
cleanup() {
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
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

# A display that does not exist: freeglut says so and make fails.
DISPLAY=:4097 make -C "$src" run BUILD_DIR="$build" >"$out" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "make run succeeded without a display it can open"
grep -q "failed to open display" "$out" || fail "freeglut's message did not reach the user"
echo "make run: ESC gives 0, no display gives $status"
