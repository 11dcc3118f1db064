#!/usr/bin/env bash
# Starts the program. With a DISPLAY it runs there until the user closes it. Without one it
# runs on a private Xvfb, waits for the main window, saves build/screenshot.png, closes the
# main window as a user would, and stops what it started.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
exe=$(find "$build/win/app" -maxdepth 2 -name 'scrivane.exe' | head -n 1)
ctl=$(find "$build/win/tools" -maxdepth 2 -name 'winctl.exe' | head -n 1)
[ -n "$exe" ] || { echo "run: $build/win/app/scrivane.exe not built" >&2; exit 1; }
workdir=$build/run
mkdir -p "$workdir"

if [ -n "${DISPLAY:-}" ]; then
  cd "$workdir" && exec wine "$OLDPWD/$exe"
fi

export SCRIVANE_EXE="$PWD/$exe" SCRIVANE_CTL="$PWD/$ctl" SCRIVANE_WORKDIR="$PWD/$workdir"
exec bash scripts/with-session.sh bash scripts/run-headless.sh
