#!/usr/bin/env bash
# The whole sweep over every element a skin can have (make check-skins): the gallery run under
# every skin of the sweep the build writes (build/win/skins/sweep: each section, picture and
# group of sections taken away from the sample skins and from skins of their colours only, the
# skin-wide section alone and with each section alone, odd values, pictures of the wrong size)
# and under SWEEP_RANDOM skins of each engine (default 8) of sections chosen at random from a
# seed (printed first; SWEEP_SEED=N gives the same skins again), on every page of its engine,
# each picture of the X display judged by the sweep's test program
# (tests/gallery/skin_sweep_test.cpp). The runs are spread over SWEEP_SESSIONS parallel
# sessions (default 4), each with its own copy of the Wine prefix (made once beside it), as the
# test program's shards. Writes build/check-skins/summary.txt (the count of runs, the failing
# ones and the worst figures), keeps the picture and window list of each failing run in
# build/check-skins/runs/, every fault in build/check-skins/faults.txt, the skins refused (with
# what the gallery said) in build/check-skins/refused.txt, and fails when any run failed.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
sessions=${SWEEP_SESSIONS:-4}
program="$build/win/gallery-tests/gallery_skin_sweep_test.exe"
[ -f "$program" ] || { echo "check-skins: $program not built" >&2; exit 1; }
out="$PWD/$build/check-skins"
rm -rf "$out"
mkdir -p "$out"

# The random skins, from a seed each run prints.
seed=${SWEEP_SEED:-$(( (RANDOM << 15 | RANDOM) % 1000000000 ))}
count=${SWEEP_RANDOM:-8}
echo "check-skins: random skins with seed $seed (SWEEP_SEED=$seed makes them again)"
"$build/win/host/skinmaker" --sweep-random "$seed" "$count" resources/skins/Azure.ini "$out/skins/classic" &&
  "$build/win/host/layeredskinmaker" --sweep-random "$seed" "$count" resources/skins/layered/Lagoon/Options.dat \
    "$out/skins/layered" || { echo "check-skins: the random skins could not be made" >&2; exit 1; }

# A copy of the prefix for each session but the first (a session locks its prefix).
prefix_of() {
  local k=$1
  if [ "$k" = 0 ]; then echo "$WINEPREFIX"; return; fi
  local copy="$WINEPREFIX.sweep$k"
  if [ ! -f "$copy/.copied" ] || [ "$WINEPREFIX/system.reg" -nt "$copy/.copied" ]; then
    rm -rf "$copy"
    cp -a "$WINEPREFIX" "$copy" && rm -f "$copy/.session-lock" && touch "$copy/.copied"
  fi
  echo "$copy"
}

started=$(date +%s)
pids=()
for k in $(seq 0 $((sessions - 1))); do
  prefix=$(prefix_of "$k")
  SCRIVANE_WINEPREFIX="$prefix" GTEST_TOTAL_SHARDS=$sessions GTEST_SHARD_INDEX=$k SCRIVANE_SKIN_SWEEP=all \
  SCRIVANE_SWEEP_OUT="$out" SCRIVANE_SWEEP_MORE="$out/skins" SWEEP_PROGRAM="$PWD/$program" \
    bash scripts/with-session.sh bash -c 'cd "$(dirname "$SWEEP_PROGRAM")" && wine "$SWEEP_PROGRAM" --gtest_brief=1' \
    >"$out/session-$k.log" 2>&1 &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
elapsed=$(( $(date +%s) - started ))

cat "$out"/results-*.txt 2>/dev/null | sort >"$out/results.txt"
cat "$out"/faults-*.txt 2>/dev/null | sort >"$out/faults.txt"
cat "$out"/refused-*.txt 2>/dev/null | sort >"$out/refused.txt"
cat "$out"/awaited-*.txt 2>/dev/null | sort >"$out/awaited.txt"
awk -F'\t' -v elapsed="$elapsed" -v sessions="$sessions" -v seed="$seed" -v refused="$(wc -l <"$out/refused.txt")" '
  { runs++; variants[$1 " " $2] = 1; pages[$1 " " $3] = 1
    if ($4 > 0) { failed++; faults += $4; failing[$1 " " $2] = failing[$1 " " $2] " " $3 }
    if ($4 > worstFaults) { worstFaults = $4; worstFaultsRun = $1 " " $2 " " $3 ": " $6 }
    if ($5 > worstBlack) { worstBlack = $5; worstBlackRun = $1 " " $2 " " $3 }
    if ($7 > 0) { awaitingRuns++; awaited += $7 } }
  END {
    nv = 0; for (v in variants) nv++
    printf "%d runs (%d skins x the pages of their engine; random skins from seed %s) in %d s on %d sessions\n", runs, nv, seed, elapsed, sessions
    printf "%d runs failed, %d faults in all; %d runs under a skin refused as it may be\n", failed, faults, refused
    printf "%d runs with %d faults in parts being mended (awaited.txt)\n", awaitingRuns, awaited
    if (worstFaults > 0) printf "most faults in one run: %d (%s)\n", worstFaults, worstFaultsRun
    if (worstBlack > 0) printf "most solid-black pixels in one run: %d (%s)\n", worstBlack, worstBlackRun
    else printf "no solid black anywhere\n"
    for (v in failing) printf "  %s:%s\n", v, failing[v] | "sort"
  }' "$out/results.txt" >"$out/summary.txt"
cat "$out/summary.txt"
echo "check-skins: each run in $out/results.txt, every fault in $out/faults.txt (those awaiting their mends in"\
     "$out/awaited.txt), failing pictures in $out/runs/"
# Seven classic pages, seven layered ones.
expected=$(( ($(cat "$build/win/skins/sweep/classic/variants.txt" "$out/skins/classic/variants.txt" | wc -l)) * 7 +
             ($(cat "$build/win/skins/sweep/layered/variants.txt" "$out/skins/layered/variants.txt" | wc -l)) * 7 ))
got=$(wc -l <"$out/results.txt")
if [ "$got" -ne "$expected" ]; then
  echo "check-skins: $got of the $expected runs reported (see $out/session-*.log)" >&2
  exit 1
fi
! grep -qP '\t[1-9][0-9]*\t[0-9]+\t' "$out/results.txt"
