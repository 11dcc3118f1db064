#!/usr/bin/env bash
# Starts the skin gallery (extra arguments go to it, e.g. --page mdi). With a DISPLAY it opens
# there until the user closes it. Without one it runs on a private Xvfb and writes screenshots
# of the gallery's windows once they are idle: the classic pages to build/gallery/classic.png,
# the same under the incomplete classic skin Sparse to build/gallery/classic-partial.png, the
# layered page to build/gallery/layered.png and the layered page under the incomplete layered
# sample skin Sparse to build/gallery/layered-partial.png (only the page the arguments name
# when they name --page layered or --layered), prints their paths and ends.
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

layered_only=0
for a in "$@"; do
  case "$a" in --layered|layered|dialogs|borders) layered_only=1 ;; esac
done

# One run of the gallery with the arguments, writing the screenshot $1.
take() {
  local name="$1"
  local shot="$PWD/$out/$name"
  shift
  rm -f "$shot"
  SCRIVANE_GALLERY_EXE="$exe" SCRIVANE_GALLERY_SHOT="$shot" SCRIVANE_GALLERY_DIR="$PWD/$out" \
  bash scripts/with-session.sh bash -c '
    cd "$SCRIVANE_GALLERY_DIR" &&
    timeout 120 wine "$SCRIVANE_GALLERY_EXE" "$@" --shot "$(winepath -w "$SCRIVANE_GALLERY_SHOT")"' gallery "$@"
  if [ ! -s "$shot" ]; then
    echo "gallery: no screenshot was written ($name)" >&2
    return 1
  fi
  echo "$shot"
}

if [ "$layered_only" = 1 ]; then
  take layered.png "$@"
else
  sparse="Z:$(printf '%s' "$PWD/$build/win/skins/layered/Sparse" | tr / '\\')"
  take classic.png "$@" && take layered.png --page layered &&
    take classic-partial.png --classic "Z:$PWD/$build/win/skins/Sparse.skn" "$@" &&
    take layered-partial.png --layered "$sparse"
fi
