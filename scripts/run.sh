#!/usr/bin/env bash
# Runs the program for "make run" and tells make how it ended.
#   run.sh path/to/tank [args...]
# ESC ends the program with status 1 on purpose, and that is a normal quit,
# not a failure. The program's other ways of ending with status 1 differ in
# what came before: freeglut and the loader say why on standard error before
# they exit, and a window that cannot be created ends the program before it
# prints its help. So: status 1, an empty standard error and the help on
# standard output is ESC, and ends quietly with 0; anything else is passed on.
set -u
tank=${1:?usage: run.sh path/to/tank [args...]}
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The program writes Latin-1, as it must: "projecção" is the bytes 0xE7 and
# 0xE3. A terminal that reads UTF-8 (nearly all of them) shows those bytes
# as two unknown characters, so its copy is re-encoded, a line at a time;
# the program's own bytes are unchanged wherever else they go.
to_terminal() {
    if [ -t 1 ] && [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && command -v perl >/dev/null; then
        perl -CO -pe 'BEGIN { $| = 1 }'
    else
        cat
    fi
}

# Both streams still reach the terminal as they come; copies are kept. The
# two tee copies are this script's own children, fed through named pipes,
# so that it can wait for both to finish before it reads what they kept.
mkfifo "$work/out" "$work/err"
tee "$work/stdout" <"$work/out" | to_terminal &
out_copy=$!
tee "$work/stderr" <"$work/err" >&2 &
err_copy=$!
"$tank" "$@" >"$work/out" 2>"$work/err"
status=$?
wait "$out_copy" "$err_copy"

if [ "$status" -eq 1 ] && [ ! -s "$work/stderr" ] && [ -s "$work/stdout" ]; then
    exit 0
fi
[ "$status" -ne 0 ] && echo "make run: the program ended with status $status" >&2
exit "$status"
