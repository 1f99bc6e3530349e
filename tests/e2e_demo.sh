#!/usr/bin/env bash
# The headless demo's short drive, and what its screenshots must show: the
# tank moved; in line mode the hull's top shows outlines where the filled
# frame shows its magenta; back at the start the frame is the first one.
set -u
tank=${1:?usage: e2e_demo.sh path/to/tank}
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in convert compare identify; do
    command -v "$tool" >/dev/null || fail "$tool is missing (make test installs ImageMagick)"
done

bash "$here/../scripts/demo.sh" "$tank" "$work" --short || fail "the demo failed"

start="$work/01-start.png" moved="$work/02-moved.png"
lines="$work/03-lines.png" fill="$work/04-fill.png"
for f in "$start" "$moved" "$lines" "$fill"; do
    [ "$(identify -format '%wx%h' "$f")" = 640x480 ] || fail "$f is not a 640x480 screenshot"
done

# Pixels that differ between two shots.
differing() { compare -metric AE "$1" "$2" null: 2>&1 >/dev/null | cut -d' ' -f1; }
# Colour at (x, y), from the top left, as r,g,b in 0..255.
rgb() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
# How many pixels are exactly magenta.
magenta() {
    convert "$1" -fill black +opaque magenta -fill white -opaque magenta \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

[ "$(differing "$start" "$moved")" -gt 500 ] || fail "the tank did not move between two shots"
[ "$(rgb "$fill" 299 216)" = "255,0,255" ] || fail "filled hull top is $(rgb "$fill" 299 216), not magenta"
[ "$(rgb "$lines" 299 216)" != "255,0,255" ] || fail "line mode still fills the hull top"
m_fill=$(magenta "$fill") m_lines=$(magenta "$lines")
[ "$m_lines" -gt 0 ] || fail "line mode shows no magenta outline"
[ "$m_lines" -lt $((m_fill / 3)) ] ||
    fail "line mode shows $m_lines magenta pixels against $m_fill filled"
[ "$(differing "$start" "$fill")" -eq 0 ] || fail "after reset and fill the frame is not the first one"
grep -q '^Reshape ORTHO$' "$work/trace.txt" || fail "the trace was not saved"

# The animation of the drive: whole frames of the window, moving.
gif="$work/drive.gif"
[ -s "$gif" ] || fail "no animation of the drive"
frames=$(identify "$gif" | wc -l)
[ "$frames" -ge 10 ] || fail "the animation has only $frames frames"
convert "$gif" -coalesce "$work/frame-%03d.png" || fail "the animation does not decode"
[ "$(identify -format '%wx%h' "$work/frame-000.png")" = 640x480 ] || fail "animation frames are not 640x480"
[ "$(differing "$work/frame-000.png" "$start")" -eq 0 ] || fail "the animation does not begin at the start frame"
moving=0
for f in "$work"/frame-*.png; do
    [ "$(differing "$f" "$work/frame-000.png")" -gt 500 ] && moving=1 && break
done
[ "$moving" -eq 1 ] || fail "the tank never moves in the animation"
echo "e2e demo: ok"
