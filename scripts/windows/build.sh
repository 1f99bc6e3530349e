#!/usr/bin/env bash
# make windows: tank.exe for 64-bit Windows, cross-built with Debian's
# mingw-w64 against freeglut built from Debian's own freeglut source
# package, linked statically: one file that needs only the DLLs every
# Windows has, for a teacher to hand out.
#   build.sh BUILD_DIR [CMAKE_OPTION...]
# freeglut is fetched with apt-get source, through a source list of its own
# (the system's apt set-up is left as it is), built once and kept in
# TANK_WINDOWS_CACHE (default /var/cache/tank-windows, or
# ~/.cache/tank-windows where that cannot be written) for later builds.
set -euo pipefail
build=${1:?usage: build.sh BUILD_DIR [CMAKE_OPTION...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
toolchain="$here/mingw-w64.cmake"
. "$here/cache.sh"

say() { echo "windows: $*"; }
for tool in x86_64-w64-mingw32-g++-posix apt-get dpkg-source cmake; do
    command -v "$tool" >/dev/null || { echo "windows: $tool is missing: make windows installs it (scripts/deps.sh windows)" >&2; exit 1; }
done

# freeglut, as the Debian release of this system has it, installed into a
# prefix of its own. A half-made prefix is never taken for a whole one.
prefix=$(ls -d "$windows_cache"/freeglut-*/ 2>/dev/null | head -n 1 || true)
prefix=${prefix%/}
if [ -z "$prefix" ] || [ ! -f "$prefix/.complete" ]; then
    . /etc/os-release
    release=${VERSION_CODENAME:?this system names no Debian release}
    mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
    work="$windows_cache/work"
    rm -rf "$work"
    mkdir -p "$work/lists/partial" "$work/source"
    echo "deb-src $mirror $release main" >"$work/sources.list"
    apt_here=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root -q)
    say "fetching freeglut's source package from Debian $release"
    apt-get "${apt_here[@]}" update >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
    (cd "$work/source" && apt-get "${apt_here[@]}" source freeglut) >>"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log" >&2; exit 1; }
    source_dir=$(ls -d "$work"/source/freeglut-*/ | head -n 1)
    version=$(basename "$source_dir")
    prefix="$windows_cache/$version"
    rm -rf "$prefix"
    say "building $version for Windows, static, into $prefix"
    # FREEGLUT_REPLACE_GLUT installs GL/glut.h, as on Linux.
    cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
        -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=ON >"$work/cmake.log" 2>&1 ||
        { cat "$work/cmake.log" >&2; exit 1; }
    cmake --build "$work/build" -j "${JOBS:-2}" >>"$work/cmake.log" 2>&1 || { tail -30 "$work/cmake.log" >&2; exit 1; }
    cmake --install "$work/build" >>"$work/cmake.log" 2>&1 || { tail -30 "$work/cmake.log" >&2; exit 1; }
    touch "$prefix/.complete"
    rm -rf "$work"
fi

say "building tank.exe in $build against $(basename "$prefix")"
cmake -S "$project" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"
say "$build/tank.exe ($(stat -c %s "$build/tank.exe") B), needing only Windows' own DLLs"
