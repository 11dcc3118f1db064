#!/usr/bin/env bash
# Runs each Windows test program whole, all its tests in one process in a shuffled order, twice
# over (each round another order), in one private Xvfb and wineserver: a test that leaves
# something behind (a window, a timer, an animation, a changed setting, a cache) or leans on
# what an earlier test left shows as a failure. Programs run side by side, those that must be
# alone on the screen after them one at a time. The soak tests run their long count of rounds.
#   SCRIVANE_WHOLE_SEED=N        the shuffle's seed (1-99999; default a random one, printed)
#   SCRIVANE_WHOLE_REPEAT=N      rounds of each program (default 2)
#   SCRIVANE_WHOLE_FILTER=REGEX  only the programs whose path matches
#   SCRIVANE_WHOLE_TIMEOUT=SECS  the longest one program may take (default 1800)
#   JOBS=N                       programs at a time (default 4)
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
limit=${SCRIVANE_WHOLE_TIMEOUT:-1800}
repeat=${SCRIVANE_WHOLE_REPEAT:-2}
jobs=${JOBS:-4}
seed=${SCRIVANE_WHOLE_SEED:-$((RANDOM % 99999 + 1))}
if ! [[ "$seed" =~ ^[0-9]+$ ]] || [ "$seed" -lt 1 ] || [ "$seed" -gt 99999 ]; then
  echo "SCRIVANE_WHOLE_SEED must be a number from 1 to 99999"
  exit 2
fi
export SCRIVANE_SOAK_ROUNDS=${SCRIVANE_SOAK_ROUNDS:-200}
args=(--gtest_shuffle "--gtest_random_seed=$seed" "--gtest_repeat=$repeat")
echo "shuffled with seed $seed, $repeat rounds (SCRIVANE_WHOLE_SEED=$seed make test-whole gives this order again)"

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

# One program: its log and its outcome in the results folder, a line of summary on the output.
run_program() {
  local exe=$1 name log start status summary
  name=$(basename "$exe" .exe)
  log="$results/$name.log"
  start=$SECONDS
  (cd "$(dirname "$exe")" && timeout "$limit" wine "$(basename "$exe")" "${args[@]}" >"$log" 2>&1)
  status=$?
  summary=$(grep -E '^\[  PASSED  \]|^\[  FAILED  \] [0-9]+ tests?,' "$log" | sort | uniq -c | tr -s ' ' | tr '\n' ' ')
  echo "$name: ${summary:-no summary} ($((SECONDS - start)) s)"
  if [ $status -ne 0 ]; then
    echo "$name" >"$results/$name.failed"
    grep -E '^\[  FAILED  \] [^0-9]|Failure$|^.*: Failure' "$log" | sort -u | head -40
    [ $status -eq 124 ] && echo "  timed out after $limit s; the last test begun: $(grep -E '^\[ RUN +\]' "$log" | tail -1)"
    echo "  again alone: SCRIVANE_WHOLE_SEED=$seed SCRIVANE_WHOLE_FILTER=$name make test-whole"
  fi
  return 0
}

parallel=() serial=()
while read -r exe mode; do
  [ -n "$exe" ] && [[ "$exe" =~ $filter ]] || continue
  if [ "$mode" = serial ]; then serial+=("$exe"); else parallel+=("$exe"); fi
done <"$list"

running=0
for exe in "${parallel[@]}"; do
  if [ $running -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
  run_program "$exe" &
  running=$((running + 1))
done
wait
# Screen tests: nothing else may cover what they look at.
for exe in "${serial[@]}"; do run_program "$exe"; done

failed=$(cat "$results"/*.failed 2>/dev/null | tr '\n' ' ')
if [ -n "$failed" ]; then
  echo "failed with seed $seed: $failed"
  exit 1
fi
echo "every program passed whole, shuffled with seed $seed"
