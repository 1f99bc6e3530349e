#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if clang-format --dry-run --Werror $files; then
    echo "format: $(echo "$files" | wc -l) files formatted"
else
    echo "format: run 'clang-format -i' on the files above" >&2
    exit 1
fi
