#!/usr/bin/env bash
# Runs every test: the Windows tests under Wine (one private Xvfb and one wineserver for the
# whole run) and the native tests under the sanitizers, including bounded fuzz runs.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
jobs=${JOBS:-$(nproc)}
# The Windows test programs share one desktop, its foreground and its pointer: more than four
# side by side take the activation from each other's windows faster than a test can judge it.
win_jobs=${JOBS:-$(( $(nproc) < 4 ? $(nproc) : 4 ))}
status=0

echo "== Windows tests (Wine) =="
# Each test program whole in one Wine process: the tests that CTest also knows one by one
# (label "test", for ctest -R) would each pay a Wine process. A failing program's output is
# shown with its end, where GoogleTest lists the tests that failed.
bash scripts/with-session.sh ctest --test-dir "$build/win" -L '^program$' -j "$win_jobs" --output-on-failure \
  --test-output-size-failed 1000000 --test-output-truncation middle || status=1

echo "== Native tests (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer) =="
# The fuzz runs are long and few: start them first so they overlap the short tests.
ctest --test-dir "$build/native" -j "$jobs" --output-on-failure --schedule-random || status=1

exit $status
