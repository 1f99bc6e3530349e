#!/usr/bin/env bash
# Runs a command with Wine set up for the Windows build's tests:
#   wine.sh COMMAND [ARG...]
# a Wine prefix of the project's own, made once and kept beside the
# Windows build's cache, no debug chatter, no offer to install Mono or
# Gecko, and whatever Wine still runs ended afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/cache.sh"
command -v wine >/dev/null || { echo "wine.sh: wine is missing: install the 'wine' and 'wine64' packages (make test-windows does)" >&2; exit 1; }
export WINEPREFIX="$windows_cache/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.complete" ]; then
    echo "wine.sh: making the Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    # No display: wineboot's windows would look for one.
    DISPLAY= wineboot --init >/dev/null 2>&1
    wineserver --wait
    touch "$WINEPREFIX/.complete"
fi
trap 'wineserver --kill 2>/dev/null || true' EXIT
"$@"
