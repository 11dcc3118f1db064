#!/usr/bin/env bash
# Runs every benchmark built in the native build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SCRIVANE_BUILD:-build}
found=0
for b in "$build"/native/bench/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b") =="
  ASAN_OPTIONS=detect_leaks=0 "$b"
done
[ "$found" = 1 ] || echo "no benchmarks built"
