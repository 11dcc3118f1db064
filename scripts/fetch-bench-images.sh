#!/usr/bin/env bash
# Fetches Debian packages that ship PNG images (icon themes, wallpapers, documentation
# screenshots and figures) and unpacks them as plain files into the cache folder, once.
# Nothing is installed. Prints the folder that holds them.
set -euo pipefail
source "$(dirname "$0")/env.sh"

PACKAGES=(
  tango-icon-theme     # small icons, RGBA and palette
  oxygen-icon-theme    # icons of every size, grey-alpha and 16-bit among them
  desktop-base         # wallpapers and login screens
  gnome-user-docs      # screenshots
  python3-matplotlib   # figures and toolbar images
)

dest="$SCRIVANE_CACHE/bench-images"
stamp="$dest/.fetched-$(printf '%s\n' "${PACKAGES[@]}" | md5sum | cut -c1-12)"
if [ ! -f "$stamp" ]; then
  rm -rf "$dest"
  mkdir -p "$dest/debs"
  echo "bench: fetching ${PACKAGES[*]}" >&2
  # apt's download sandbox user may not write here; that is harmless, so quietly.
  ( cd "$dest/debs" && apt-get download -qq "${PACKAGES[@]}" >/dev/null 2>&1 ) || {
    echo "bench: could not download the image packages" >&2
    exit 1
  }
  for deb in "$dest"/debs/*.deb; do
    name=$(basename "$deb"); name=${name%%_*}
    mkdir -p "$dest/$name"
    dpkg-deb -x "$deb" "$dest/$name"
  done
  rm -rf "$dest/debs"
  touch "$stamp"
fi
echo "$dest"
