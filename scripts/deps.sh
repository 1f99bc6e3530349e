#!/usr/bin/env bash
# Makes sure what is needed is installed: "build" for the program, "demo"
# for its headless demo too, "web" for the browser build, "test" for the
# tests and benchmarks (the browser tests included), "docs" for the diagram,
# "format" for the format check.
# On Debian/Ubuntu the missing packages are installed with apt-get (through
# sudo when not root); elsewhere their names are printed and we stop.
set -eu

want=${1:-build}

# check command | package
needs=(
    "command -v c++|g++"
    "command -v cmake|cmake"
    "command -v make|make"
    "test -f /usr/include/GL/gl.h|libgl-dev"
    "test -f /usr/include/GL/glu.h|libglu1-mesa-dev"
    "test -f /usr/include/GL/freeglut.h|freeglut3-dev"
)
# The headless demo's tools: a private X server, key events, screenshots.
demo_tools=(
    "command -v Xvfb|xvfb"
    "command -v xdotool|xdotool"
    "command -v xwd|x11-apps"
    "command -v compare|imagemagick"
)
# The browser build: emscripten (its optimiser needs Debian's acorn module,
# which comes with it), and node with npm for serving and testing the page.
web_tools=(
    "command -v cmake|cmake"
    "command -v make|make"
    "command -v em++|emscripten"
    "test -d /usr/share/nodejs/acorn|node-acorn"
    "command -v node|nodejs"
    "command -v npm|npm"
)
# The browser tests drive both engines Debian ships.
browsers=(
    "command -v chromium|chromium"
    "command -v firefox-esr|firefox-esr"
)
case $want in
    build) ;;
    demo) needs+=("${demo_tools[@]}") ;;
    web) needs=("${web_tools[@]}") ;;
    test)
        needs+=(
            "test -f /usr/include/gtest/gtest.h|libgtest-dev"
            "test -f /usr/include/png.h|libpng-dev"
            "test -f /usr/include/X11/Xlib.h|libx11-dev"
            "${demo_tools[@]}"
            "${web_tools[@]}"
            "${browsers[@]}"
        ) ;;
    docs) needs+=("command -v dot|graphviz") ;;
    debian) needs=("command -v debootstrap|debootstrap" "command -v git|git") ;;
    format) needs=("command -v clang-format|clang-format") ;;
    *) echo "usage: deps.sh build|demo|web|docs|test|format|debian" >&2; exit 2 ;;
esac

missing=()
for entry in "${needs[@]}"; do
    check=${entry%|*}
    package=${entry#*|}
    $check >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing build dependencies. Install the equivalents of these Debian packages:" >&2
    echo "  ${missing[*]}" >&2
    exit 1
fi

sudo=
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
