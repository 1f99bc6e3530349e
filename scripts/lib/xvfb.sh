# Private Xvfb servers for tests and scripts; source this file.
#   xvfb_start   starts one on a free display, exports DISPLAY
#   xvfb_stop    stops it again
# XVFB_ARGS, when set, adds options to the server's command line.
# Fails loudly when Xvfb is missing: a display test never skips silently.

. "$(dirname "${BASH_SOURCE[0]}")/child.sh"

xvfb_start() {
    if ! command -v Xvfb >/dev/null 2>&1; then
        echo "error: Xvfb is not installed; install the 'xvfb' package (make test does)" >&2
        return 1
    fi
    XVFB_DIR=$(mktemp -d)
    # The file exists before the server starts, so reading it never fails.
    : >"$XVFB_DIR/display"
    # -displayfd picks a free display and writes its number once it is ready.
    # -noreset: without it the server resets when its last client leaves, and
    # a client that came and went before the program connected (a poll with
    # xdotool, say) makes the program fail to open the display.
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 ${XVFB_ARGS:-} \
        3>"$XVFB_DIR/display" 2>"$XVFB_DIR/log" &
    XVFB_PID=$!
    local i
    for i in $(seq 200); do
        # Only a whole line counts: a half-written "12" must not read as 1.
        local number=
        if read -r number <"$XVFB_DIR/display" && [ -n "$number" ]; then
            export DISPLAY=":$number"
            return 0
        fi
        if ! child_running "$XVFB_PID"; then break; fi
        sleep 0.05
    done
    echo "error: Xvfb did not start:" >&2
    cat "$XVFB_DIR/log" >&2
    xvfb_stop
    return 1
}

xvfb_stop() {
    if [ -n "${XVFB_PID:-}" ]; then
        child_running "$XVFB_PID" && kill "$XVFB_PID"
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
    [ -n "${XVFB_DIR:-}" ] && rm -rf "$XVFB_DIR"
    XVFB_DIR=
}
