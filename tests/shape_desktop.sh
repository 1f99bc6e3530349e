#!/usr/bin/env bash
# The desktop program built with a shape's C++ as the page copies it: the
# sources copied, render/tank_shape.cpp replaced by the file given, the
# program built with the warnings as errors and started on a private X
# server, and its first frame written to a PNG.
set -u
src=${1:?usage: shape_desktop.sh SOURCE_DIR SHAPE_CPP OUT_PNG}
cpp=${2:?usage: shape_desktop.sh SOURCE_DIR SHAPE_CPP OUT_PNG}
png=${3:?usage: shape_desktop.sh SOURCE_DIR SHAPE_CPP OUT_PNG}
here=$(dirname "$0")
. "$here/../scripts/lib/xvfb.sh"
. "$here/lib/e2e.sh"
require_tools git cmake xdotool xwd convert

e2e_scratch
out="$work/trace"
copy_sources "$src"
cp "$cpp" "$work/src/render/tank_shape.cpp"
cmake -S "$work/src" -B "$work/build" -DBUILD_TESTING=OFF >"$work/cmake.log" 2>&1 &&
    cmake --build "$work/build" --target tank -j 2 >>"$work/cmake.log" 2>&1 ||
    { tail -n 30 "$work/cmake.log" >&2; fail "the program does not build with the page's shape"; }

xvfb_start || exit 1
"$work/build/tank" >"$out" 2>"$work/stderr" &
pid=$!
wait_for 10 has_line "Reshape ORTHO" || fail "the program with the page's shape did not start"
wait_for 10 ticks_reach 3 || fail "no ticks"
wid=$(tank_window)
[ -n "$wid" ] || fail "no window named Exemplo"
xwd -id "$wid" -silent | convert xwd:- "$png" || fail "no picture of the window"
