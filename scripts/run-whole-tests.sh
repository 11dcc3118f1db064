#!/usr/bin/env bash
# Runs each Windows test program whole, all its tests in one process and in their order, one
# program after another in one private Xvfb and wineserver: a test that leaves something
# behind (a window, a timer, an animation, a changed setting) shows as a failure of a later
# test. `make test` runs one test a process and does not see that.
#   SCRIVANE_WHOLE_FILTER=REGEX  only the programs whose path matches
#   SCRIVANE_WHOLE_TIMEOUT=SECS  the longest one program may take (default 900)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
list="$build/win/win-test-programs.txt"
[ -s "$list" ] || { echo "no $list: build first (make build)"; exit 2; }
if [ "${1:-}" != "--inside" ]; then
  exec bash scripts/with-session.sh bash "$0" --inside
fi
filter=${SCRIVANE_WHOLE_FILTER:-.}
limit=${SCRIVANE_WHOLE_TIMEOUT:-900}
failed=()
while IFS= read -r exe; do
  [ -n "$exe" ] && [[ "$exe" =~ $filter ]] || continue
  log=$(mktemp)
  start=$SECONDS
  (cd "$(dirname "$exe")" && timeout "$limit" wine "$(basename "$exe")" >"$log" 2>&1)
  status=$?
  summary=$(grep -E '^\[  PASSED  \]|^\[  FAILED  \] [0-9]+ tests?,' "$log" | tr '\n' ' ')
  echo "$(basename "$exe"): ${summary:-no summary} ($((SECONDS - start)) s)"
  if [ $status -ne 0 ]; then
    failed+=("$(basename "$exe")")
    grep -E '^\[  FAILED  \] [^0-9]|Failure$|^.*: Failure' "$log" | sort -u | head -40
    [ $status -eq 124 ] && echo "  timed out after $limit s"
  fi
  rm -f "$log"
done < "$list"
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}"
  exit 1
fi
echo "every program passed whole"
