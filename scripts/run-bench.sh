#!/usr/bin/env bash
# Runs the benchmarks: the program's start-up under Wine beside a bare host of the same
# browser control, the skin engines on the gallery's controls page beside unskinned painting,
# PNG decoding of real images (fetched into the cache once), LZH package decoding, the pixel
# loops. Figures only: nothing here is a test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${SCRIVANE_BUILD:-build}
native="$build/native/bench"
for b in bench_png bench_lzh bench_pixels; do
  [ -x "$native/$b" ] || { echo "$native/$b is not built" >&2; exit 1; }
done

echo "== Start-up (startup_launcher, under Wine) =="
SCRIVANE_BUILD="$build" bash scripts/with-session.sh bash scripts/run-startup-bench.sh
echo

echo "== Skin engines (enginebench, under Wine) =="
SCRIVANE_BUILD="$build" bash scripts/with-session.sh bash scripts/run-engine-bench.sh
echo

images=$(bash scripts/fetch-bench-images.sh)
echo "== PNG decoding (bench_png) =="
"$native/bench_png" "$images"
echo
echo "== LZH decoding (bench_lzh) =="
"$native/bench_lzh"
echo
echo "== Pixel loops (bench_pixels) =="
"$native/bench_pixels"
