#!/usr/bin/env bash
# The worked exercise of docs/exercise.md, applied to a copy of the sources
# as a student would apply it, unless they carry it already (a student's
# own make check): the patch must apply, the program and the diagram writer
# build with the warnings as errors, the new part must be in the tree the
# page is given and in the diagram, under the turret, with its live value,
# the new key in the tables of keys make docs writes, and the key must turn
# the antenna on the screen.
set -u
src=${1:?usage: exercise_test.sh SOURCE_DIR}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools git cmake node xdotool xwd convert compare

e2e_scratch
out="$work/trace"

copy_sources "$src"
# A student who has done the exercise has it in the sources already.
if (cd "$work/src" && git apply --reverse --check "$src/docs/exercise/antenna.patch" 2>/dev/null); then
    echo "exercise: the sources carry docs/exercise/antenna.patch already"
else
    (cd "$work/src" && git apply "$src/docs/exercise/antenna.patch") ||
        fail "docs/exercise/antenna.patch no longer applies to the sources: bring it up to date"
fi

cmake -S "$work/src" -B "$work/build" -DBUILD_TESTING=OFF >"$work/cmake.log" 2>&1 &&
    cmake --build "$work/build" --target tank tank_diagram -j 2 >>"$work/cmake.log" 2>&1 ||
    { tail -n 30 "$work/cmake.log" >&2; fail "the exercise does not build"; }

json=$("$work/build/tank_diagram" --json)
want='{"id":"antenna","parent":"turretFrame","steps":["push","translate (-0.7, -0.7, 0.25)","rotate {antennaAngle} about Z"],"label":["antenna"]}'
grep -qF -- "$want" <<<"$json" || { echo "$json" >&2; fail "the page's tree has no antenna under the turret frame"; }
grep -qF -- '"id":"antennaRod","parent":"antenna"' <<<"$json" || fail "the page's tree has no antenna rod on the antenna"
dot=$("$work/build/tank_diagram")
grep -qF -- 'turretFrame -> antenna [label="push\ntranslate (-0.7, -0.7, 0.25)\nrotate antennaAngle about Z"];' <<<"$dot" ||
    { echo "$dot" >&2; fail "the diagram has no antenna under the turret frame"; }

# What make docs writes of the new key: its rows in the tables of keys,
# which nobody edits by hand.
node "$work/src/scripts/key-tables.mjs" "$work/build/tank_diagram" "$work/src" >/dev/null ||
    fail "the exercise's tables of keys could not be written"
grep -qF '| E (hold) | turn the antenna |' "$work/src/README.md" || fail "README.md's table of keys has no E"
grep -qF '| E (manter) | rodar a antena |' "$work/src/docs/leia-me.md" || fail "docs/leia-me.md's table of keys has no E"

# Screenshots as their pixels: xwd's header holds bytes it leaves unset,
# so two files of the same picture can differ.
shot() { xwd -root -silent | convert xwd:- "$work/$1.png" || fail "no screenshot $1"; }
pixels_differ() {
    compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>/dev/null
    case $? in
    0) return 1 ;;
    1) return 0 ;;
    *) fail "compare could not read $1.png and $2.png" ;;
    esac
}

# The key: at rest two frames are the same; after E is held a while the
# picture has changed, and nothing else moved the tank.
XVFB_ARGS="-ardelay 60000" xvfb_start || exit 1
"$work/build/tank" >"$out" 2>"$work/stderr" &
pid=$!
wait_for 10 has_line "Reshape ORTHO" || fail "the exercise's program did not start"
wid=$(tank_window)
[ -n "$wid" ] || fail "no window named Exemplo"
xdotool mousemove --window "$wid" 320 240
wait_for 10 ticks_reach 10 || fail "no ticks"
shot before
wait_for 10 ticks_reach $(($(ticks) + 5)) || fail "ticks stalled"
shot still
pixels_differ before still && fail "the picture changes with no key held"
xdotool keydown e
wait_for 10 ticks_reach $(($(ticks) + 10))
xdotool keyup e
wait_for 10 has_line "Largou a tecla e" || fail "the release of E never came"
wait_for 10 ticks_reach $(($(ticks) + 3)) || fail "ticks stalled"
shot after
pixels_differ before after || fail "E held for 10 steps did not turn the antenna"
has_line "Velocidade 0.00 Direccao 0.00" || fail "the tank itself moved"
echo "exercise: the antenna is in the tree and the diagram, and E turns it"
