#!/usr/bin/env bash
# with-session.sh COMMAND...: runs COMMAND with a private Xvfb (on a free display) and a
# persistent wineserver for the project's prefix; both are stopped afterwards by their
# process ids, whatever the command's outcome. An existing DISPLAY is used when
# SCRIVANE_USE_DISPLAY=1.
set -uo pipefail
source "$(dirname "$0")/env.sh"

xvfb_pid=""; wineserver_pid=""; xresources=""
cleanup() {
  if [ -n "$wineserver_pid" ]; then
    wineserver -k >/dev/null 2>&1 || true   # asks this prefix's server to end its clients
    kill "$wineserver_pid" 2>/dev/null || true
    wait "$wineserver_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -z "$xresources" ] || rm -f "$xresources"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# One session a prefix at a time: a second one would share this one's wineserver, whose
# desktop lies on another display, and its clean-up would end this one's programs. It waits
# its turn instead. Only this script holds the lock (its children get fd 9 closed).
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.session-lock"
if ! flock -n 9; then
  echo "with-session: waiting for the other session on $WINEPREFIX" >&2
  flock 9
fi

if [ "${SCRIVANE_USE_DISPLAY:-0}" != "1" ] || [ -z "${DISPLAY:-}" ]; then
  dispfile=$(mktemp)
  # Local connections only; a private server needs no cookie.
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$dispfile" 9>&- >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$dispfile" ] && break
    sleep 0.1
  done
  num=$(tr -d '\n' < "$dispfile"); rm -f "$dispfile"
  if [ -z "$num" ]; then echo "with-session: Xvfb did not start" >&2; exit 1; fi
  export DISPLAY=":$num"
  # A bare server has no resource database, and Xlib then reads its resource files again on
  # every lookup; Wine looks one up each time a font is selected into a window's DC (about
  # 500 times a gallery resize). An empty resource file gives it a database to keep.
  if [ -z "${XENVIRONMENT:-}" ]; then
    xresources=$(mktemp)
    export XENVIRONMENT="$xresources"
  fi
fi

wineserver -f -p 9>&- >/dev/null 2>&1 &
wineserver_pid=$!
# Start Wine's services and desktop now, detached from our output: the first Wine process
# of a session spawns them with its descriptors, which would keep a test's pipe open.
wine wineboot >/dev/null 2>&1 </dev/null 9>&- || true
"$@" 9>&-
