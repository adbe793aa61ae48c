#!/usr/bin/env bash
# Runs every benchmark program built under bench/, one after the other.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
found=0
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[ "$found" = 1 ] || echo "no benchmark programs built"
