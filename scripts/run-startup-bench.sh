#!/usr/bin/env bash
# Inside a private session (scripts/with-session.sh): times the program's start-up beside
# the bare host, interleaved, ROUNDS rounds (default 15).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
rounds=${SCRIVANE_STARTUP_ROUNDS:-15}
exe="$build/win/app/scrivane.exe"
bench="$build/win/bench/startup"
for f in "$exe" "$bench/startup_launcher.exe" "$bench/startup_bare_host.exe"; do
  [ -f "$f" ] || { echo "$f is not built" >&2; exit 1; }
done
workdir="$build/run"
mkdir -p "$workdir"
size=$(stat -c %s "$exe")
echo "program: $(basename "$exe"), $((size / 1024)) KiB"
cd "$workdir"
wine "$OLDPWD/$bench/startup_launcher.exe" "$rounds" \
  "scrivane=$(winepath -w "$OLDPWD/$exe")" "bare host=$(winepath -w "$OLDPWD/$bench/startup_bare_host.exe")" 2>/dev/null
