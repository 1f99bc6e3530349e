# Measuring a running program from outside; source after scripts/lib/xvfb.sh.

now() { date +%s.%N; }
elapsed_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }

# Resident memory of a process in KiB.
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# CPU time of a process so far, all its live threads, in nanoseconds (the
# scheduler's own count: finer than the 10 ms ticks of /proc/PID/stat).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f", t }'; }

# Colour of one pixel of a window as rrggbb, read from an xwd dump.
# xwd is a 100-byte big-endian header (then the window name), a colour map of
# 12 bytes an entry, then rows of 32-bit pixels in the server's byte order.
pixel_hex() {
    local wid=$1 x=$2 y=$3 dump
    dump=$(mktemp)
    if ! xwd -id "$wid" -silent >"$dump" 2>/dev/null; then
        rm -f "$dump"
        return 1
    fi
    local h
    read -r -a h <<<"$(od -An -tu1 -N100 -v "$dump" | tr -s ' \n' ' ')"
    field() { echo $(((h[$1 * 4] << 24) | (h[$1 * 4 + 1] << 16) | (h[$1 * 4 + 2] << 8) | h[$1 * 4 + 3])); }
    local header ncolors bpl order offset
    header=$(field 0)
    order=$(field 7)
    bpl=$(field 12)
    ncolors=$(field 19)
    offset=$((header + ncolors * 12 + y * bpl + x * 4))
    local p
    read -r -a p <<<"$(od -An -tu1 -j "$offset" -N4 -v "$dump")"
    rm -f "$dump"
    if [ "$order" -eq 0 ]; then
        printf '%02x%02x%02x\n' "${p[2]}" "${p[1]}" "${p[0]}"
    else
        printf '%02x%02x%02x\n' "${p[1]}" "${p[2]}" "${p[3]}"
    fi
}

# Seconds from START until the window titled TITLE shows colour COLOUR at
# (X, Y), polled as fast as xwd allows (a few tens of milliseconds).
time_to_pixel() {
    local start=$1 title=$2 x=$3 y=$4 colour=$5 wid= i
    for i in $(seq 2000); do
        [ -n "$wid" ] || wid=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1)
        if [ -n "$wid" ] && [ "$(pixel_hex "$wid" "$x" "$y")" = "$colour" ]; then
            elapsed_since "$start"
            return 0
        fi
        sleep 0.005
    done
    return 1
}
