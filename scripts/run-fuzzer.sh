#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time: run-fuzzer.sh BINARY CORPUS SECONDS [SEED_DIR...]
set -euo pipefail
bin=$1; corpus=$2; seconds=$3; shift 3
mkdir -p "$corpus"
for seeds in "$@"; do
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
done
artifacts="$corpus.artifacts"
mkdir -p "$artifacts"
"$bin" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$artifacts/" 2>&1 | tail -n 25
