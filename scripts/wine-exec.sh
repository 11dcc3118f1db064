#!/usr/bin/env bash
# Runs a Windows executable in the project's Wine prefix (CTest's cross-compiling emulator).
# The caller provides DISPLAY (scripts/with-session.sh starts a private Xvfb).
#
# Under heavy load Wine very rarely ends at once with status 1 before the program starts,
# saying nothing (about once in a few thousand runs). A run that failed within a second
# without printing anything is started once more: the test programs print their first line
# before any test runs, so nothing a program did is ever run twice.
source "$(dirname "$0")/env.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  start=$(date +%s%N)
  wine "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  quick=$(( $(date +%s%N) - start < 1000000000 ))
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ "$quick" -eq 0 ] || [ "$attempt" -eq 2 ]; then
    exit "$status"
  fi
  echo "wine-exec: Wine ended at once with status $status before the program started; once more" >&2
done
