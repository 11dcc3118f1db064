#!/usr/bin/env bash
# Starts the skin gallery (extra arguments go to it, e.g. --page mdi). With a DISPLAY it opens
# there until the user closes it. Without one it runs on a private Xvfb, writes a screenshot of
# the gallery's windows to build/gallery/classic.png once they are idle, prints that path and
# ends.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/env.sh
build=${SCRIVANE_BUILD:-build}
exe=$(find "$build/win/gallery" -maxdepth 2 -name 'skingallery.exe' | head -n 1)
[ -n "$exe" ] || { echo "gallery: $build/win/gallery/skingallery.exe not built" >&2; exit 1; }
out="$build/gallery"
mkdir -p "$out"
exe="$PWD/$exe"

if [ -n "${DISPLAY:-}" ]; then
  cd "$out" && exec wine "$exe" "$@"
fi

shot="$PWD/$out/classic.png"
rm -f "$shot"
export SCRIVANE_GALLERY_EXE="$exe" SCRIVANE_GALLERY_SHOT="$shot" SCRIVANE_GALLERY_DIR="$PWD/$out"
bash scripts/with-session.sh bash -c '
  cd "$SCRIVANE_GALLERY_DIR" &&
  timeout 120 wine "$SCRIVANE_GALLERY_EXE" "$@" --shot "$(winepath -w "$SCRIVANE_GALLERY_SHOT")"' gallery "$@"
if [ ! -s "$shot" ]; then
  echo "gallery: no screenshot was written" >&2
  exit 1
fi
echo "$shot"
