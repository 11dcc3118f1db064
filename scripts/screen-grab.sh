#!/usr/bin/env bash
# screen-grab.sh OUT X Y W H [NAME]: saves the rectangle of the X screen (DISPLAY) as a binary
# PPM to OUT, written whole or not at all (the caller waits for OUT to appear). With
# SCRIVANE_SCREEN_SHOTS set, also keeps it there as NAME.png for people to look at.
# ImageMagick's import reads the root window as the server holds it; xwd -root does not do for
# this: it assembles multi-colormap screens (each Wine process has its own colormap) window by
# window and paints a window lying wholly over another of the same process black.
set -u
export PATH=/usr/bin:/bin:$PATH
out=$1 x=$2 y=$3 w=$4 h=$5 name=${6:-}
part="$out.part"
import -silent -window root -crop "${w}x${h}+${x}+${y}" +repage -depth 8 "ppm:$part" 2>/dev/null || exit 1
if [ -n "${SCRIVANE_SCREEN_SHOTS:-}" ] && [ -n "$name" ]; then
  mkdir -p "$SCRIVANE_SCREEN_SHOTS"
  convert "ppm:$part" "png:$SCRIVANE_SCREEN_SHOTS/$name.png" 2>/dev/null
fi
mv "$part" "$out"
