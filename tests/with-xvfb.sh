#!/usr/bin/env bash
# Runs one command under its own private Xvfb and passes on its exit status.
set -u
. "$(dirname "$0")/../scripts/lib/xvfb.sh"
xvfb_start || exit 1
"$@"
status=$?
xvfb_stop
exit "$status"
