#!/usr/bin/env bash
# Inside a private session (scripts/with-session.sh): the engines' benchmark, ROUNDS rounds
# (default 5) of the gallery's controls page unskinned and under each engine's sample skin.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
rounds=${SCRIVANE_ENGINE_ROUNDS:-5}
exe="$build/win/gallery/enginebench.exe"
[ -f "$exe" ] || { echo "$exe is not built" >&2; exit 1; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
wine "$exe" "$rounds" 2>/dev/null
