#!/usr/bin/env bash
# Checks that Pavix's C++ (src/, tests/, bench/, fuzz/) is laid out as .clang-format says:
# clang-format --dry-run --Werror on every file names each line it would change, and any
# such line fails the check. With --fix the files are formatted in place instead.
# `make check-format` and `make format` run it; it is not part of `make test`.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is missing: apt-get install clang-format" >&2; exit 1; }
files=$(find src tests bench fuzz \( -name '*.h' -o -name '*.cpp' \) | LC_ALL=C sort)
if [ "${1:-}" = "--fix" ]; then
    xargs -P "$(nproc)" -n 16 clang-format -i <<<"$files"
    echo "format: $(wc -l <<<"$files") files formatted"
    exit 0
fi
# One log a file, so that the reports of files checked side by side do not mix.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export logs
xargs -P "$(nproc)" -n 16 sh -c 'for f; do
    clang-format --dry-run --Werror "$f" 2>"$logs/$(echo "$f" | tr / _).log" || echo "$f" >>"$logs/failed"
done' sh <<<"$files"
places=$(cat "$logs"/*.log | grep 'error: code should be clang-formatted' || true)
if [ -s "$logs/failed" ]; then
    cat "$logs"/*.log
    echo "format: $(cut -d: -f1,2 <<<"$places" | sort -u | wc -l) lines in $(cut -d: -f1 <<<"$places" | sort -u | wc -l)" \
         "files differ from .clang-format (bash scripts/check-format.sh --fix formats them)"
    exit 1
fi
echo "format: $(wc -l <<<"$files") files as .clang-format lays them out"
