#!/usr/bin/env bash
# Runs the project as a newcomer would on another Debian release: in a root
# made by debootstrap (kept between runs), on a fresh clone of this checkout.
#   debian-root.sh test RELEASE          make test and make test-sanitize there
#   debian-root.sh web RELEASE OUT_DIR   make web-build there; the page to OUT_DIR
# RELEASE is a Debian suite (trixie, testing, ...). Roots live in TANK_ROOTS
# (default /var/cache/tank-roots), one folder each, and are made again when
# older than TANK_ROOT_DAYS days (default 7), so a rolling suite stays new.
# Needs root (or sudo) for debootstrap, chroot and the mounts; every mount
# is undone and every process started in the root is ended on every way out.
set -euo pipefail

usage() { echo "usage: debian-root.sh test RELEASE | web RELEASE OUT_DIR" >&2; exit 2; }
what=${1:-}
release=${2:-}
[ -n "$what" ] && [ -n "$release" ] || usage
case $what in
    test) ;;
    web) out=${3:-}; [ -n "$out" ] || usage ;;
    *) usage ;;
esac

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=TANK_ROOTS,TANK_ROOT_DAYS,DEBIAN_MIRROR,DEBIAN_SECURITY_MIRROR "$0" "$@"
fi

here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/.." && pwd)
roots=${TANK_ROOTS:-/var/cache/tank-roots}
days=${TANK_ROOT_DAYS:-7}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
root="$roots/$release"

say() { echo "debian-root($release): $*"; }

# Ends whatever still runs inside the root (or the one being made), then
# undoes every mount under them, deepest first. Runs on every way out,
# failures and signals included.
in_our_roots() { [ "$1" = "$root" ] || [ "$1" = "$root.new" ]; }
cleanup() {
    set +e
    local pid signal
    for signal in TERM KILL; do
        for pid in /proc/[0-9]*; do
            in_our_roots "$(readlink "$pid/root" 2>/dev/null)" && kill -"$signal" "${pid#/proc/}" 2>/dev/null
        done
        [ "$signal" = TERM ] && sleep 1
    done
    local target
    awk -v a="$root/" -v b="$root.new/" 'index($2, a) == 1 || index($2, b) == 1 { print $2 }' /proc/mounts |
        sort -r | while read -r target; do
        umount "$target" 2>/dev/null || umount -l "$target"
    done
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Runs a long command as a child that this shell waits for, so that a
# signal is acted on at once rather than when the command ends.
run_child() {
    "$@" &
    wait $!
}

mount_in_root() {  # TARGET MOUNT-ARGS...
    local target="$root$1"
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    # Never let a mount made under the root reach back to the host's tree.
    mount --make-private "$target"
}

# Nothing may still be mounted under a root that is about to be removed.
mounted_under() { grep -q " $1/" /proc/mounts; }

command -v debootstrap >/dev/null || { echo "debootstrap is missing: install the 'debootstrap' package (make test-debian does)" >&2; exit 1; }
mkdir -p "$roots"
exec 9>"$roots/.lock-$release"
flock 9

# A release's updates and security fixes too, as an installed system has
# them (a browser without them may lack what the tests drive); rolling
# suites have none. A root made with other sources is made again.
case $release in
    testing | unstable | sid) sources="deb $mirror $release main" ;;
    *) sources=$(printf 'deb %s %s main\ndeb %s %s-updates main\ndeb %s %s-security main' \
        "$mirror" "$release" "$mirror" "$release" "$security" "$release") ;;
esac

if [ -f "$root/.tank-root" ] && [ -z "$(find "$root/.tank-root" -mtime +"$days")" ] &&
    [ "$(cat "$root/.tank-root")" = "$sources" ]; then
    say "reusing the root in $root"
else
    if mounted_under "$root" || mounted_under "$root.new"; then
        echo "debian-root: $root still has mounts; not removing it" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root" "$root.new"
    say "making a root with debootstrap (a few minutes)"
    run_child debootstrap --variant=minbase --include=ca-certificates,git,make \
        "$release" "$root.new" "$mirror" >"$roots/debootstrap-$release.log" 2>&1 || {
        tail -20 "$roots/debootstrap-$release.log" >&2
        exit 1
    }
    # A rolling suite's Release file may carry a date already past.
    echo 'Acquire::Check-Valid-Until "false";' >"$root.new/etc/apt/apt.conf.d/99tank-valid-until"
    echo "$sources" >"$root.new/etc/apt/sources.list"
    mv "$root.new" "$root"
    echo "$sources" >"$root/.tank-root"
fi


# Name resolution and the certificate authorities this host was given
# locally, so that apt and npm reach what the host reaches.
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -f "$root"/usr/local/share/ca-certificates/host-*.crt
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    for cert in /usr/local/share/ca-certificates/*.crt; do
        cp "$cert" "$root/usr/local/share/ca-certificates/host-$(basename "$cert")"
    done
fi
chroot "$root" update-ca-certificates >/dev/null 2>&1

mount_in_root /proc -t proc proc
mount_in_root /sys -t sysfs sysfs
mount_in_root /dev --bind /dev
mount_in_root /dev/pts --bind /dev/pts
mount_in_root /dev/shm -t tmpfs -o mode=1777 shm

# A fresh clone of this checkout's committed state.
rm -rf "$root/root/tank"
git clone -q --no-local "$project" "$root/root/tank"
if [ -n "$(git -C "$project" status --porcelain --untracked-files=no)" ]; then
    say "note: uncommitted changes in $project are not in the clone"
fi

# What a newcomer has: a plain root shell, CI's settings, no display.
in_root() {
    run_child chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt \
        bash -c "cd /root/tank && $1" </dev/null
}

case $what in
    test)
        say "make test and make test-sanitize in a fresh clone"
        in_root 'make test && make test-sanitize'
        ;;
    web)
        say "make web-build in a fresh clone"
        in_root 'make web-build && emcc --version | head -1'
        rm -rf "$out"
        mkdir -p "$out"
        cp -r "$root/root/tank/build/web/." "$out/"
        ;;
esac
say "done"
