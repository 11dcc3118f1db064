#!/usr/bin/env bash
# Builds libdeflate as a static mingw library from Debian's libdeflate source package,
# once, into the cache folder outside the clone.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/deb-src.sh"

if [ -f "$DEFLATE_PREFIX/lib/libdeflate.a" ] && [ -f "$DEFLATE_PREFIX/include/libdeflate.h" ]; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "setup: building libdeflate for mingw into $DEFLATE_PREFIX"
fetch_deb_source libdeflate "$work"
# The library's own makefile knows mingw; only the static library is wanted.
make -C "$work/src" -s -j"$(nproc)" CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar \
  CFLAGS="-O2" libdeflatestatic.lib >/dev/null
mkdir -p "$DEFLATE_PREFIX/lib" "$DEFLATE_PREFIX/include"
cp "$work/src/libdeflatestatic.lib" "$DEFLATE_PREFIX/lib/libdeflate.a"
cp "$work/src/libdeflate.h" "$DEFLATE_PREFIX/include/"
test -f "$DEFLATE_PREFIX/lib/libdeflate.a"
