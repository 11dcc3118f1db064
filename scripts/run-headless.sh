#!/usr/bin/env bash
# Inside a private session (scripts/with-session.sh): start, screenshot, close.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
shot="$PWD/build/screenshot.png"
main_class=${SCRIVANE_MAIN_CLASS:-Tfrmmain}

( cd "$SCRIVANE_WORKDIR" && exec wine "$SCRIVANE_EXE" ) &
app_pid=$!

if ! wine "$SCRIVANE_CTL" wait "$main_class" 60000 >/dev/null 2>&1; then
  echo "run: the main window did not appear" >&2
  kill "$app_pid" 2>/dev/null
  exit 1
fi
sleep "${SCRIVANE_SETTLE:-2}"   # let it finish painting
# An X grab of the whole screen, as the server holds it (see scripts/screen-grab.sh).
import -silent -window root png:"$shot"
echo "$shot"

# Close it the way a user does: the system close command, so the program's own handling runs.
wine "$SCRIVANE_CTL" close "$main_class" >/dev/null 2>&1
for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "run: the program did not close" >&2
  kill "$app_pid" 2>/dev/null
  exit 1
fi
wait "$app_pid"
