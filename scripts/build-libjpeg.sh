#!/usr/bin/env bash
# Builds libjpeg (API 62) as a static mingw library from Debian's libjpeg-turbo source
# package, once, into the cache folder outside the clone.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/deb-src.sh"

if [ -f "$JPEG_PREFIX/lib/libjpeg.a" ] && [ -f "$JPEG_PREFIX/include/jpeglib.h" ]; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "setup: building libjpeg-turbo for mingw into $JPEG_PREFIX"
fetch_deb_source libjpeg-turbo "$work"
cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$SCRIVANE_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_SYSTEM_PROCESSOR=AMD64 -DCMAKE_BUILD_TYPE=Release \
  -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF \
  -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" >/dev/null
cmake --build "$work/build" --target install >/dev/null
test -f "$JPEG_PREFIX/lib/libjpeg.a"
