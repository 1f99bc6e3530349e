#!/usr/bin/env bash
# Makes sure what a command needs is installed, and says what it installs
# and why while it does:
#   deps.sh build    the program (make build, make run)
#   deps.sh demo     the program and its headless demo (make run, no display)
#   deps.sh web      the browser build (make web-build)
#   deps.sh check    the program and its desktop tests (make check)
#   deps.sh clang    clang, to build them with it too (make check-clang)
#   deps.sh test     the tests and benchmarks, the browser tests included
#   deps.sh npm      the npm packages: the page's bundler, the browser tests'
#                    drivers and auditors, as package-lock.json pins them
#   deps.sh docs     the diagram (make docs)
#   deps.sh format   the format check (make format-check)
#   deps.sh debian   roots of other Debian releases (make test-debian)
#   deps.sh windows  the cross build for Windows (make windows)
#   deps.sh windows-test  that, Wine and the Linux program beside it (make test-windows)
# On Debian/Ubuntu the missing packages are installed with apt-get (through
# sudo when not root); elsewhere their names are printed and we stop. When
# everything is there it prints nothing.
set -eu

want=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)

# Each group: what it is for, then "check|package" entries.
build=("to build the program"
    "command -v c++|g++" "command -v cmake|cmake" "command -v make|make"
    "test -f /usr/include/GL/gl.h|libgl-dev" "test -f /usr/include/GL/glu.h|libglu1-mesa-dev"
    "test -f /usr/include/GL/freeglut.h|freeglut3-dev")
# A private X server, key events, screenshots; ImageMagick is found by its
# compare, since a convert on the PATH may be a stand-in.
demo=("for the headless demo"
    "command -v Xvfb|xvfb" "command -v xdotool|xdotool" "command -v xwd|x11-apps"
    "command -v compare|imagemagick")
# Emscripten's optimiser needs Debian's acorn module; node serves the page.
web=("for the browser build"
    "command -v cmake|cmake" "command -v make|make" "command -v em++|emscripten"
    "test -d /usr/share/nodejs/acorn|node-acorn" "command -v node|nodejs" "command -v npm|npm")
# node writes the exercise's tables of keys, as make docs does.
tests=("for the tests"
    "test -f /usr/include/gtest/gtest.h|libgtest-dev" "test -f /usr/include/png.h|libpng-dev"
    "test -f /usr/include/X11/Xlib.h|libx11-dev" "command -v node|nodejs")
# Java runs the Nu HTML Checker that npm installs.
browsers=("for the browser tests"
    "command -v npm|npm" "command -v chromium|chromium" "command -v firefox-esr|firefox-esr"
    "test -x /usr/bin/java|default-jre-headless" "command -v WebKitWebDriver|webkit2gtk-driver")
docs=("for the diagram and the tables of keys" "command -v dot|graphviz" "command -v node|nodejs")
clang=("to build with clang" "command -v clang++|clang")
format=("for the format check" "command -v clang-format|clang-format")
debian=("for roots of other Debian releases"
    "command -v debootstrap|debootstrap" "command -v git|git")
# The cross build fetches freeglut's source with apt-get source (dpkg-dev
# unpacks it) and builds GoogleTest from Debian's copy of its sources.
windows=("to cross-build for Windows"
    "command -v cmake|cmake" "command -v make|make"
    "command -v x86_64-w64-mingw32-g++-posix|mingw-w64" "command -v dpkg-source|dpkg-dev"
    "test -f /usr/src/googletest/CMakeLists.txt|googletest")
wine=("to run the Windows build under Wine"
    "command -v wine|wine" "test -x /usr/lib/wine/wine64|wine64")

case $want in
    build) groups=(build) ;;
    demo) groups=(build demo) ;;
    web) groups=(web) ;;
    check) groups=(build demo tests) ;;
    clang) groups=(clang) ;;
    test) groups=(build demo web tests browsers) ;;
    docs) groups=(build docs) ;;
    format) groups=(format) ;;
    debian) groups=(debian) ;;
    windows) groups=(windows) ;;
    windows-test) groups=(build demo windows wine) ;;
    npm) groups=() ;;
    *) echo "usage: deps.sh build|demo|web|check|clang|test|npm|docs|format|debian|windows|windows-test" >&2; exit 2 ;;
esac

# The npm packages, installed by npm ci when the lockfile changed since the
# last install (or there was none).
npm_deps() {
    local dir="$here/.." stamp sum
    stamp="$dir/node_modules/.installed-lock"
    sum=$(sha256sum "$dir/package-lock.json" | cut -d' ' -f1)
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$sum" ] && return 0
    echo "deps: installing the page's bundler and the browser tests' drivers and auditors (npm ci, as package-lock.json pins them)"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=notice)
    echo "$sum" >"$stamp"
}
if [ "$want" = npm ]; then
    npm_deps
    exit 0
fi

# What is missing, each package once, with the first purpose that needs it.
missing=()
declare -A why=()
for group in "${groups[@]}"; do
    declare -n entries=$group
    for entry in "${entries[@]:1}"; do
        package=${entry#*|}
        [ -n "${why[$package]:-}" ] && continue
        ${entry%|*} >/dev/null 2>&1 && continue
        why[$package]=${entries[0]}
        missing+=("$package")
    done
    unset -n entries
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: missing for '${want}':"
for group in "${groups[@]}"; do
    declare -n entries=$group
    names=()
    for package in "${missing[@]}"; do
        [ "${why[$package]}" = "${entries[0]}" ] && names+=("$package")
    done
    [ ${#names[@]} -gt 0 ] && echo "  ${entries[0]}: ${names[*]}"
    unset -n entries
done

if ! command -v apt-get >/dev/null 2>&1; then
    echo "deps: this is not Debian or Ubuntu; install the equivalents of the packages above" >&2
    echo "      (docs/development.md names them for other systems)" >&2
    exit 1
fi

sudo=
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# apt's own progress, one line every few seconds at most, from its status
# lines ("dlstatus:N:PERCENT:what" and "pmstatus:package:PERCENT:what");
# the full output goes to a log shown only if apt fails.
progress() {
    local last=0 now kind rest percent
    while IFS=: read -r kind _ percent rest; do
        printf -v now '%(%s)T' -1
        [ $((now - last)) -lt 3 ] && continue
        last=$now
        case $kind in
            dlstatus) printf 'deps:   downloading %3.0f%%  %s\n' "$percent" "$rest" ;;
            pmstatus) printf 'deps:   installing  %3.0f%%  %s\n' "$percent" "$rest" ;;
        esac
    done
}
apt() {
    if ! { $sudo apt-get -q -o APT::Status-Fd=3 "$@" 3>&1 >>"$log" 2>&1; } | progress; then
        tail -20 "$log" >&2
        echo "deps: apt-get $1 failed (the last lines of its output are above)" >&2
        exit 1
    fi
}
set -o pipefail
echo "deps: apt-get update"
apt update
count=$($sudo apt-get install -s "${missing[@]}" 2>/dev/null | grep -c '^Inst ' || true)
echo "deps: apt-get install: ${count} packages, the ones above and what they need (this can take minutes)"
apt install -y "${missing[@]}"
echo "deps: installed"
