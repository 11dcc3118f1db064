#!/usr/bin/env bash
# Builds libjpeg (API 62) as a static mingw library from Debian's libjpeg-turbo source
# package, once, into the cache folder outside the clone.
set -euo pipefail
source "$(dirname "$0")/env.sh"

if [ -f "$JPEG_PREFIX/lib/libjpeg.a" ] && [ -f "$JPEG_PREFIX/include/jpeglib.h" ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# apt's source download needs a deb-src entry for this suite.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "setup: adding a deb-src entry for $suite"
  $SUDO tee /etc/apt/sources.list.d/scrivane-deb-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  $SUDO apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "setup: building libjpeg-turbo for mingw into $JPEG_PREFIX"
( cd "$work" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1 \
  && dpkg-source -x --no-check ./libjpeg-turbo_*.dsc src >/dev/null )
cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$SCRIVANE_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_SYSTEM_PROCESSOR=AMD64 -DCMAKE_BUILD_TYPE=Release \
  -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF \
  -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" >/dev/null
cmake --build "$work/build" --target install >/dev/null
test -f "$JPEG_PREFIX/lib/libjpeg.a"
